#include "text/HexText.h"

namespace {

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

uint32_t ParseHexText(std::string_view text)
{
    size_t end = text.size();
    while (end > 0 && HexDigitValue(text[end - 1]) < 0)
        --end;
    uint32_t value = 0;
    unsigned place = 0;
    for (size_t i = end; i > 0; --i) {
        const char c = text[i - 1];
        if (c == ' ' || c == '\t' || c == ',')
            continue;
        const int digit = HexDigitValue(c);
        if (digit > 0 && place < 8)
            value += uint32_t(digit) << (4 * place);
        ++place;
    }
    return value;
}
