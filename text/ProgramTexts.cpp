#include "text/ProgramTexts.h"

#include <algorithm>
#include <iterator>

namespace {

struct BuiltInText {
    int id;
    const char* text;
};

constexpr BuiltInText ENGLISH[] = {
#include "EnglishTexts.inc"
};

ProgramTextLookup g_lookup = nullptr;

std::string BuiltIn(int id)
{
    const auto it = std::lower_bound(std::begin(ENGLISH), std::end(ENGLISH), id,
                                     [](const BuiltInText& entry, int key) { return entry.id < key; });
    return it != std::end(ENGLISH) && it->id == id ? it->text : std::string();
}

} // namespace

void SetProgramTextLookup(ProgramTextLookup lookup)
{
    g_lookup = lookup;
}

std::string ProgramText(int id)
{
    if (g_lookup) {
        std::string text = g_lookup(id);
        if (!text.empty())
            return text;
    }
    return BuiltIn(id);
}

std::string ProgramText(int id, std::initializer_list<std::string_view> args)
{
    const std::string pattern = ProgramText(id);
    std::string text;
    auto arg = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.compare(i, 2, "%s") == 0 && arg != args.end()) {
            text += *arg++;
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}
