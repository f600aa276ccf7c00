#include "link/KeyTable.h"

#include "text/Utf16Text.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr uint16_t CHAR_THETA = 136;
constexpr uint16_t CHAR_NEGATIVE = 173;

constexpr int16_t KEY_H = 30;
// Rows of the keyboard under the screen.
constexpr int16_t ROW0 = 282, ROW1 = 318, ROW2 = 354, ROW3 = 390, ROW4 = 426;
// Letter keys: 38 units apart, each row set further right, as typewriters do.
constexpr int16_t LETTER_PITCH = 38, LETTER_W = 34;
constexpr int16_t QWERTY_X = 124, ASDF_X = 136, ZXCV_X = 150;
// The numeric keypad on the right.
constexpr int16_t PAD_X = 566, PAD_PITCH = 46, PAD_W = 42;

constexpr int16_t Letter(int16_t rowX, int index) { return static_cast<int16_t>(rowX + index * LETTER_PITCH); }
constexpr int16_t Pad(int column) { return static_cast<int16_t>(PAD_X + column * PAD_PITCH); }
constexpr int16_t FKeyY(int index) { return static_cast<int16_t>(14 + index * 32); }

using K = KeyKind;

// Laid out after the TI-92: the function keys down the left of the screen,
// the cursor pad and the scientific keys on its right, and under it the
// modifiers and editing keys, the letters in typewriter order, and the
// numeric keypad with its operators.
constexpr CalcKey KEYS[] = {
    {"F1", "F1", "", KEY_F1, 0, K::Function, 14, FKeyY(0), 62, 26},
    {"F2", "F2", "", KEY_F1 + 1, 0, K::Function, 14, FKeyY(1), 62, 26},
    {"F3", "F3", "", KEY_F1 + 2, 0, K::Function, 14, FKeyY(2), 62, 26},
    {"F4", "F4", "", KEY_F1 + 3, 0, K::Function, 14, FKeyY(3), 62, 26},
    {"F5", "F5", "", KEY_F1 + 4, 0, K::Function, 14, FKeyY(4), 62, 26},
    {"F6", "F6", "", KEY_F1 + 5, 0, K::Function, 14, FKeyY(5), 62, 26},
    {"F7", "F7", "", KEY_F1 + 6, 0, K::Function, 14, FKeyY(6), 62, 26},
    {"F8", "F8", "", KEY_F8, 0, K::Function, 14, FKeyY(7), 62, 26},

    {"UP", "\u2191", "", KEY_UP, 0, K::Cursor, 640, 24, 50, 36},
    {"LEFT", "\u2190", "", KEY_LEFT, 0, K::Cursor, 584, 66, 54, 36},
    {"RIGHT", "\u2192", "", KEY_RIGHT, 0, K::Cursor, 692, 66, 54, 36},
    {"DOWN", "\u2193", "", KEY_DOWN, 0, K::Cursor, 640, 108, 50, 36},
    {"SIN", "SIN", "", KEY_SIN, 0, K::Command, 588, 156, 72, 28},
    {"COS", "COS", "", KEY_COS, 0, K::Command, 670, 156, 72, 28},
    {"TAN", "TAN", "", KEY_TAN, 0, K::Command, 588, 190, 72, 28},
    {"LN", "LN", "", KEY_LN, 0, K::Command, 670, 190, 72, 28},
    {"APPS", "APPS", "", KEY_APPS, 0, K::Command, 588, 228, 72, 28},
    {"MODE", "MODE", "", KEY_MODE, 0, K::Command, 670, 228, 72, 28},

    {"ESC", "ESC", "QUIT", KEY_ESC, 0, K::Command, 14, ROW0, 44, KEY_H},
    {"CLEAR", "CLEAR", "", KEY_CLEAR, 0, K::Command, 64, ROW0, 44, KEY_H},
    {"2ND", "2nd", "", 0, KEY_MOD_2ND, K::Modifier, 14, ROW1, 44, KEY_H},
    {"DIAMOND", "\u25C6", "", 0, KEY_MOD_DIAMOND, K::Modifier, 64, ROW1, 44, KEY_H},
    {"SHIFT", "\u21E7", "", 0, KEY_MOD_SHIFT, K::Modifier, 14, ROW2, 44, KEY_H},
    {"STO", "STO\u25B6", "", KEY_STO, 0, K::Command, 64, ROW2, 44, KEY_H},
    {"THETA", "\u03B8", "", CHAR_THETA, 0, K::Character, 14, ROW3, 44, KEY_H},
    {"|", "|", "", '|', 0, K::Character, 64, ROW3, 44, KEY_H},
    {"ON", "ON", "OFF", KEY_ON, 0, K::Command, 14, ROW4, 94, KEY_H},

    {"Q", "Q", "HOME", 'q', 0, K::Character, Letter(QWERTY_X, 0), ROW0, LETTER_W, KEY_H},
    {"W", "W", "", 'w', 0, K::Character, Letter(QWERTY_X, 1), ROW0, LETTER_W, KEY_H},
    {"E", "E", "", 'e', 0, K::Character, Letter(QWERTY_X, 2), ROW0, LETTER_W, KEY_H},
    {"R", "R", "", 'r', 0, K::Character, Letter(QWERTY_X, 3), ROW0, LETTER_W, KEY_H},
    {"T", "T", "", 't', 0, K::Character, Letter(QWERTY_X, 4), ROW0, LETTER_W, KEY_H},
    {"Y", "Y", "", 'y', 0, K::Character, Letter(QWERTY_X, 5), ROW0, LETTER_W, KEY_H},
    {"U", "U", "", 'u', 0, K::Character, Letter(QWERTY_X, 6), ROW0, LETTER_W, KEY_H},
    {"I", "I", "", 'i', 0, K::Character, Letter(QWERTY_X, 7), ROW0, LETTER_W, KEY_H},
    {"O", "O", "", 'o', 0, K::Character, Letter(QWERTY_X, 8), ROW0, LETTER_W, KEY_H},
    {"P", "P", "", 'p', 0, K::Character, Letter(QWERTY_X, 9), ROW0, LETTER_W, KEY_H},
    {"BACKSPACE", "\u2190", "INS", KEY_BACKSPACE, 0, K::Command, 504, ROW0, 44, KEY_H},
    {"A", "A", "", 'a', 0, K::Character, Letter(ASDF_X, 0), ROW1, LETTER_W, KEY_H},
    {"S", "S", "", 's', 0, K::Character, Letter(ASDF_X, 1), ROW1, LETTER_W, KEY_H},
    {"D", "D", "", 'd', 0, K::Character, Letter(ASDF_X, 2), ROW1, LETTER_W, KEY_H},
    {"F", "F", "", 'f', 0, K::Character, Letter(ASDF_X, 3), ROW1, LETTER_W, KEY_H},
    {"G", "G", "", 'g', 0, K::Character, Letter(ASDF_X, 4), ROW1, LETTER_W, KEY_H},
    {"H", "H", "", 'h', 0, K::Character, Letter(ASDF_X, 5), ROW1, LETTER_W, KEY_H},
    {"J", "J", "", 'j', 0, K::Character, Letter(ASDF_X, 6), ROW1, LETTER_W, KEY_H},
    {"K", "K", "", 'k', 0, K::Character, Letter(ASDF_X, 7), ROW1, LETTER_W, KEY_H},
    {"L", "L", "", 'l', 0, K::Character, Letter(ASDF_X, 8), ROW1, LETTER_W, KEY_H},
    {"=", "=", "", '=', 0, K::Character, Letter(ASDF_X, 9), ROW1, LETTER_W, KEY_H},
    {"Z", "Z", "", 'z', 0, K::Character, Letter(ZXCV_X, 0), ROW2, LETTER_W, KEY_H},
    {"X", "X", "", 'x', 0, K::Character, Letter(ZXCV_X, 1), ROW2, LETTER_W, KEY_H},
    {"C", "C", "", 'c', 0, K::Character, Letter(ZXCV_X, 2), ROW2, LETTER_W, KEY_H},
    {"V", "V", "", 'v', 0, K::Character, Letter(ZXCV_X, 3), ROW2, LETTER_W, KEY_H},
    {"B", "B", "", 'b', 0, K::Character, Letter(ZXCV_X, 4), ROW2, LETTER_W, KEY_H},
    {"N", "N", "", 'n', 0, K::Character, Letter(ZXCV_X, 5), ROW2, LETTER_W, KEY_H},
    {"M", "M", "", 'm', 0, K::Character, Letter(ZXCV_X, 6), ROW2, LETTER_W, KEY_H},
    {",", ",", "", ',', 0, K::Character, Letter(ZXCV_X, 7), ROW2, LETTER_W, KEY_H},
    {"ENTER", "ENTER", "", KEY_ENTER, 0, K::Enter, 454, ROW2, 94, KEY_H},
    {"SPACE", "", "", ' ', 0, K::Character, 188, ROW3, 224, KEY_H},

    {"^", "^", "", '^', 0, K::Character, Pad(0), ROW0, PAD_W, KEY_H},
    {"(", "(", "", '(', 0, K::Character, Pad(1), ROW0, PAD_W, KEY_H},
    {")", ")", "", ')', 0, K::Character, Pad(2), ROW0, PAD_W, KEY_H},
    {"/", "\u00F7", "", '/', 0, K::Character, Pad(3), ROW0, PAD_W, KEY_H},
    {"7", "7", "", '7', 0, K::Character, Pad(0), ROW1, PAD_W, KEY_H},
    {"8", "8", "", '8', 0, K::Character, Pad(1), ROW1, PAD_W, KEY_H},
    {"9", "9", "", '9', 0, K::Character, Pad(2), ROW1, PAD_W, KEY_H},
    {"*", "\u00D7", "", '*', 0, K::Character, Pad(3), ROW1, PAD_W, KEY_H},
    {"4", "4", "", '4', 0, K::Character, Pad(0), ROW2, PAD_W, KEY_H},
    {"5", "5", "", '5', 0, K::Character, Pad(1), ROW2, PAD_W, KEY_H},
    {"6", "6", "", '6', 0, K::Character, Pad(2), ROW2, PAD_W, KEY_H},
    {"-", "\u2212", "", '-', 0, K::Character, Pad(3), ROW2, PAD_W, KEY_H},
    {"1", "1", "", '1', 0, K::Character, Pad(0), ROW3, PAD_W, KEY_H},
    {"2", "2", "", '2', 0, K::Character, Pad(1), ROW3, PAD_W, KEY_H},
    {"3", "3", "", '3', 0, K::Character, Pad(2), ROW3, PAD_W, KEY_H},
    {"+", "+", "", '+', 0, K::Character, Pad(3), ROW3, PAD_W, KEY_H},
    {"0", "0", "", '0', 0, K::Character, Pad(0), ROW4, PAD_W, KEY_H},
    {".", ".", "", '.', 0, K::Character, Pad(1), ROW4, PAD_W, KEY_H},
    {"NEG", "(\u2212)", "", CHAR_NEGATIVE, 0, K::Character, Pad(2), ROW4, PAD_W, KEY_H},
    {"ENTER", "ENTER", "", KEY_ENTER, 0, K::Enter, Pad(3), ROW4, PAD_W, KEY_H},
};

// The calculator's own names of keys pressed with a modifier.
struct KeyAlias {
    const char* name;
    uint16_t code;
};
constexpr KeyAlias ALIASES[] = {
    {"HOME", KEY_HOME},
    {"QUIT", KEY_QUIT},
    {"OFF", KEY_MOD_2ND + KEY_ON},
    {"INS", KEY_MOD_2ND + KEY_BACKSPACE},
    {"DEL", KEY_MOD_DIAMOND + KEY_BACKSPACE},
};

struct ModifierPrefix {
    const char* prefix;
    uint16_t modifier;
};
constexpr ModifierPrefix MODIFIER_PREFIXES[] = {
    {"2ND+", KEY_MOD_2ND},
    {"DIAMOND+", KEY_MOD_DIAMOND},
    {"SHIFT+", KEY_MOD_SHIFT},
};

bool IsLetterCode(uint16_t code) { return code >= 'a' && code <= 'z'; }

std::string Utf8Of(char32_t character)
{
    return Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(character)));
}

} // namespace

uint16_t CalcKey::CodeWith(uint16_t modifiers) const
{
    if (modifier != 0)
        return 0;
    if (modifiers == 0)
        return code;
    // Modifiers go with a letter's capital.
    const uint16_t base = IsLetterCode(code) ? static_cast<uint16_t>(code - 'a' + 'A') : code;
    if (modifiers == KEY_MOD_SHIFT && IsLetterCode(code))
        return base;
    return static_cast<uint16_t>(base + modifiers);
}

std::span<const CalcKey> GetCalcKeys()
{
    return KEYS;
}

const CalcKey* FindKeyAt(int x, int y)
{
    for (const CalcKey& key : KEYS)
        if (key.Contains(x, y))
            return &key;
    return nullptr;
}

const CalcKey* FindKeyNamed(const std::string& name)
{
    for (const CalcKey& key : KEYS)
        if (name == key.name)
            return &key;
    return nullptr;
}

std::optional<uint16_t> ParseKeyName(const std::string& name)
{
    uint16_t modifiers = 0;
    std::string rest = name;
    for (bool found = true; found && rest.size() > 1;) {
        found = false;
        for (const ModifierPrefix& prefix : MODIFIER_PREFIXES) {
            const size_t length = std::strlen(prefix.prefix);
            if (rest.compare(0, length, prefix.prefix) != 0 || rest.size() == length)
                continue;
            if ((modifiers & prefix.modifier) != 0)
                return std::nullopt;
            modifiers = static_cast<uint16_t>(modifiers | prefix.modifier);
            rest.erase(0, length);
            found = true;
        }
    }
    for (const KeyAlias& alias : ALIASES) {
        // A modifier the alias already holds cannot be added twice.
        if (rest == alias.name)
            return (alias.code & modifiers) != 0 ? std::nullopt
                                                 : std::optional<uint16_t>(static_cast<uint16_t>(alias.code + modifiers));
    }
    const CalcKey* key = FindKeyNamed(rest);
    if (key == nullptr || key->modifier != 0)
        return std::nullopt;
    return key->CodeWith(modifiers);
}

bool LooksLikeKeyName(const std::string& text)
{
    if (text.size() < 2)
        return false;
    bool capital = false;
    for (char c : text) {
        if (c >= 'A' && c <= 'Z')
            capital = true;
        else if (!(c >= '0' && c <= '9') && c != '+')
            return false;
    }
    return capital;
}

uint16_t KeyCodeForCharacter(char32_t character)
{
    if (character >= 0x20 && character <= 0x7E)
        return static_cast<uint16_t>(character);
    switch (character) {
    case U'\u03B8': return CHAR_THETA;
    case U'\u2192': return KEY_STO;
    case U'\u2212': return '-';
    case U'\u00D7': return '*';
    case U'\u00F7': return '/';
    default: return 0;
    }
}

bool KeyCodesForText(const std::string& text, std::vector<uint16_t>& codes, std::string& refused)
{
    std::vector<uint16_t> typed;
    for (char16_t unit : Utf8ToUtf16(text)) {
        // A character outside the basic plane is two surrogates, neither typeable.
        const uint16_t code = KeyCodeForCharacter(unit);
        if (code == 0) {
            refused = Utf8Of(unit);
            return false;
        }
        typed.push_back(code);
    }
    codes.insert(codes.end(), typed.begin(), typed.end());
    return true;
}

std::string KeyCodeName(uint16_t code)
{
    for (const KeyAlias& alias : ALIASES)
        if (alias.code == code)
            return alias.name;
    const uint16_t modifiers = code & KEY_MODIFIERS;
    const uint16_t base = code & static_cast<uint16_t>(~KEY_MODIFIERS);
    std::string prefix;
    for (const ModifierPrefix& p : MODIFIER_PREFIXES)
        if ((modifiers & p.modifier) != 0)
            prefix += p.prefix;
    if (modifiers == 0 && base > ' ' && base <= '~')
        return std::string(1, static_cast<char>(base));
    for (const CalcKey& key : KEYS) {
        const bool capitalOf = IsLetterCode(key.code) && base == key.code - 'a' + 'A';
        if (key.modifier == 0 && (key.code == base || capitalOf))
            return prefix + key.name;
    }
    return prefix + std::to_string(base);
}
