#include "transfer/SafeFileName.h"

#include "link/VarTypes.h"
#include "text/Utf16Text.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>

namespace {

constexpr char ESCAPE = '%';
constexpr char HEX_DIGITS[] = "0123456789ABCDEF";
// Longest file name most file systems accept, in bytes.
constexpr size_t MAX_FILE_NAME_BYTES = 255;
#ifdef _WIN32
constexpr char RESERVED_CHARACTERS[] = "<>:\"|?*";
#endif

// The calculator's Greek letters from 0x80 on, in its order.
constexpr char16_t GREEK_LETTERS[] = u"\u03B1\u03B2\u0393\u03B3\u0394\u03B4\u03B5\u03B6\u03B8\u03BB\u03BE"
                                     u"\u03A0\u03C0\u03C1\u03A3\u03C3\u03C4\u03C6\u03C8\u03A9\u03C9";
constexpr unsigned char FIRST_GREEK = 0x80;
constexpr unsigned char FIRST_LATIN = 0xC0;

// The Unicode letter of a calculator byte above 127, 0 when it has none.
char16_t CalcLetter(unsigned char c)
{
    if (c >= FIRST_GREEK && c < FIRST_GREEK + std::size(GREEK_LETTERS) - 1)
        return GREEK_LETTERS[c - FIRST_GREEK];
    if (c >= FIRST_LATIN && c != 0xD7 && c != 0xF7)
        return c;
    return 0;
}

// The calculator byte of a letter, 0 when it has none.
unsigned char CalcByteOf(char16_t letter)
{
    for (unsigned c = 0x80; c <= 0xFF; ++c)
        if (CalcLetter(static_cast<unsigned char>(c)) == letter)
            return static_cast<unsigned char>(c);
    return 0;
}

bool IsSeparator(unsigned char c)
{
    return c == '/' || c == '\\';
}

bool IsControl(unsigned char c)
{
    return c < 0x20 || c == 0x7F;
}

bool IsReservedHere(unsigned char c)
{
#ifdef _WIN32
    return c != 0 && std::strchr(RESERVED_CHARACTERS, c) != nullptr;
#else
    (void)c;
    return false;
#endif
}

bool MustEscape(unsigned char c)
{
    // Backslash is escaped on every system, so that a file received here
    // keeps its name when copied to a system that treats it as a separator.
    return c == ESCAPE || IsSeparator(c) || IsControl(c) || IsReservedHere(c);
}

void AppendEscaped(std::string& out, unsigned char c)
{
    out += ESCAPE;
    out += HEX_DIGITS[c >> 4];
    out += HEX_DIGITS[c & 0x0F];
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

#ifdef _WIN32
bool IsDeviceName(const std::string& name)
{
    std::string stem = name.substr(0, name.find('.'));
    std::transform(stem.begin(), stem.end(), stem.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL"};
    for (const char* device : devices)
        if (stem == device)
            return true;
    return stem.size() == 4 && (stem.rfind("COM", 0) == 0 || stem.rfind("LPT", 0) == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}
#endif

} // namespace

std::string EscapeFileName(const std::string& name)
{
    if (name.empty())
        return "%00";
    std::string out;
    if (name == "." || name == "..") {
        for (unsigned char c : name)
            AppendEscaped(out, c);
        return out;
    }
    for (unsigned char c : name) {
        if (c >= 0x80 && CalcLetter(c) != 0)
            out += Utf16ToUtf8(std::u16string(1, CalcLetter(c)));
        else if (c >= 0x80 || MustEscape(c))
            AppendEscaped(out, c);
        else
            out += static_cast<char>(c);
    }
#ifdef _WIN32
    // "con" and its kind name devices there, whatever the extension.
    if (IsDeviceName(out)) {
        const unsigned char first = static_cast<unsigned char>(out[0]);
        out.erase(0, 1);
        std::string escaped;
        AppendEscaped(escaped, first);
        out.insert(0, escaped);
    }
#endif
    return out;
}

std::string UnescapeFileName(const std::string& fileName)
{
    std::string out;
    for (size_t i = 0; i < fileName.size(); ++i) {
        // A letter of the calculator's: the two UTF-8 bytes of one below
        // U+0800.
        if ((static_cast<unsigned char>(fileName[i]) & 0xE0) == 0xC0 && i + 1 < fileName.size()) {
            const std::u16string letter = Utf8ToUtf16(fileName.substr(i, 2));
            if (const unsigned char c = letter.size() == 1 ? CalcByteOf(letter[0]) : 0) {
                out += static_cast<char>(c);
                ++i;
                continue;
            }
        }
        if (fileName[i] == ESCAPE && i + 2 < fileName.size() && HexValue(fileName[i + 1]) >= 0 &&
            HexValue(fileName[i + 2]) >= 0) {
            const int value = HexValue(fileName[i + 1]) * 16 + HexValue(fileName[i + 2]);
            if (value != 0)
                out += static_cast<char>(value);
            i += 2;
        } else {
            out += fileName[i];
        }
    }
    return out;
}

bool IsPlainFileName(const std::string& name)
{
    if (name.empty() || name == "." || name == ".." || name.size() > MAX_FILE_NAME_BYTES)
        return false;
    for (unsigned char c : name)
        if (IsSeparator(c) || IsControl(c) || IsReservedHere(c))
            return false;
#ifdef _WIN32
    if (IsDeviceName(name) || name.back() == '.' || name.back() == ' ')
        return false;
#endif
    return true;
}

std::string VariableFileName(const std::string& name, uint8_t type)
{
    const std::string extension = GetTypeExtension(type);
    if (!extension.empty())
        return EscapeFileName(name) + extension;
    return EscapeFileName(name) + ".0x" + HEX_DIGITS[type >> 4] + HEX_DIGITS[type & 0xF];
}

std::string RefusedFileNameCharacters()
{
    std::string characters = "/ \\";
#ifdef _WIN32
    for (const char* c = RESERVED_CHARACTERS; *c != '\0'; ++c) {
        characters += ' ';
        characters += *c;
    }
#endif
    return characters;
}
