#include "text/TextFormat.h"

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args)
{
    std::string text;
    text.reserve(pattern.size());
    auto arg = args.begin();
    size_t from = 0;
    for (size_t at = pattern.find("%s"); at != std::string_view::npos && arg != args.end();
         at = pattern.find("%s", from)) {
        text.append(pattern.substr(from, at - from));
        text.append(*arg++);
        from = at + 2;
    }
    text.append(pattern.substr(from));
    return text;
}

std::string GroupedDigits(uint64_t number)
{
    const std::string digits = std::to_string(number);
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}
