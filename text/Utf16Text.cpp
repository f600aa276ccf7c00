#include "text/Utf16Text.h"

#include <cstdint>

namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

bool IsHigh(char16_t u) { return u >= 0xD800 && u < 0xDC00; }
bool IsLow(char16_t u) { return u >= 0xDC00 && u < 0xE000; }

// One character of UTF-8 from text[at]; moves `at` past it.
char32_t NextUtf8(std::string_view text, size_t& at)
{
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80)
        return lead;
    int more = 0;
    char32_t c = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        more = 1, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        more = 2, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        more = 3, c = lead & 0x07, least = 0x10000;
    } else {
        return REPLACEMENT;
    }
    for (int i = 0; i < more; ++i) {
        if (at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80)
            return REPLACEMENT;
        c = (c << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
        return REPLACEMENT;
    return c;
}

// Both kinds of UTF-16 string, char16_t and Windows' wchar_t, the same way.
template <typename Unit>
std::string Utf8FromUnits(std::basic_string_view<Unit> text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t u = static_cast<char16_t>(text[i]);
        const char16_t next = i + 1 < text.size() ? static_cast<char16_t>(text[i + 1]) : 0;
        if (IsHigh(u) && IsLow(next)) {
            AppendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(next) - 0xDC00));
            ++i;
        } else {
            AppendUtf8(out, IsHigh(u) || IsLow(u) ? REPLACEMENT : char32_t(u));
        }
    }
    return out;
}

template <typename Unit>
std::basic_string<Unit> UnitsFromUtf8(std::string_view text)
{
    std::basic_string<Unit> out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const char32_t c = NextUtf8(text, at);
        if (c >= 0x10000) {
            out += Unit(0xD800 + ((c - 0x10000) >> 10));
            out += Unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += Unit(c);
        }
    }
    return out;
}

} // namespace

std::string Utf16ToUtf8(std::u16string_view text)
{
    return Utf8FromUnits(text);
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    return UnitsFromUtf8<char16_t>(text);
}

#ifdef _WIN32
static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

std::string Utf16ToUtf8(std::wstring_view text)
{
    return Utf8FromUnits(text);
}

std::wstring Utf8ToWide(std::string_view text)
{
    return UnitsFromUtf8<wchar_t>(text);
}
#endif
