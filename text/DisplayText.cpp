#include "text/DisplayText.h"

#include <cstdint>
#include <cstdio>

namespace {

void AppendEscaped(std::string& out, unsigned char c)
{
    char hex[5];
    std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(c));
    out += hex;
}

// Length of the well-formed UTF-8 sequence at `i` that encodes a printable
// character, or 0.
size_t ValidSequenceLength(const std::string& s, size_t i)
{
    const auto c0 = static_cast<unsigned char>(s[i]);
    if (c0 >= 0x20 && c0 < 0x7F)
        return 1;
    size_t length;
    uint32_t cp;
    if (c0 >= 0xC2 && c0 <= 0xDF) {
        length = 2;
        cp = c0 & 0x1F;
    } else if (c0 >= 0xE0 && c0 <= 0xEF) {
        length = 3;
        cp = c0 & 0x0F;
    } else if (c0 >= 0xF0 && c0 <= 0xF4) {
        length = 4;
        cp = c0 & 0x07;
    } else {
        return 0;
    }
    if (i + length > s.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    const bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
    const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
    const bool control = cp >= 0x80 && cp < 0xA0;
    if (overlong || surrogate || control || cp > 0x10FFFF)
        return 0;
    return length;
}

} // namespace

std::string CalcNameToDisplay(const std::string& raw)
{
    std::string out;
    out.reserve(raw.size());
    for (char ch : raw) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F)
            out += ch;
        else
            AppendEscaped(out, c);
    }
    return out;
}

std::string FileNameToDisplay(const std::string& raw)
{
    std::string out;
    out.reserve(raw.size());
    for (size_t i = 0; i < raw.size();) {
        const size_t length = ValidSequenceLength(raw, i);
        if (length == 0) {
            AppendEscaped(out, static_cast<unsigned char>(raw[i]));
            ++i;
        } else {
            out.append(raw, i, length);
            i += length;
        }
    }
    return out;
}
