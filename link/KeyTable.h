#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The TI-92's keys: the codes a key packet carries, the names the command
// line knows them by, and where each lies on the drawn keyboard, which both
// window programs draw from this one table.
//
// A key alone sends its code: a character key the character it types (a
// letter key its small letter), the others a code of their own. 2nd, the
// diamond and shift are not sent by themselves: they add to the code of the
// key pressed after them. Only a letter with shift alone becomes its
// capital, which is a character like any other.

inline constexpr uint16_t KEY_ENTER = 13;
inline constexpr uint16_t KEY_BACKSPACE = 257;
inline constexpr uint16_t KEY_STO = 258;
inline constexpr uint16_t KEY_SIN = 259;
inline constexpr uint16_t KEY_COS = 260;
inline constexpr uint16_t KEY_TAN = 261;
inline constexpr uint16_t KEY_LN = 262;
inline constexpr uint16_t KEY_CLEAR = 263;
inline constexpr uint16_t KEY_ESC = 264;
inline constexpr uint16_t KEY_APPS = 265;
inline constexpr uint16_t KEY_MODE = 266;
inline constexpr uint16_t KEY_ON = 267;
inline constexpr uint16_t KEY_F1 = 268;
inline constexpr uint16_t KEY_F8 = 275;
inline constexpr uint16_t KEY_UP = 337;
inline constexpr uint16_t KEY_LEFT = 338;
inline constexpr uint16_t KEY_DOWN = 340;
inline constexpr uint16_t KEY_RIGHT = 344;

// What the modifiers add to the code of the key they go with.
inline constexpr uint16_t KEY_MOD_2ND = 4096;
inline constexpr uint16_t KEY_MOD_DIAMOND = 8192;
inline constexpr uint16_t KEY_MOD_SHIFT = 16384;
inline constexpr uint16_t KEY_MODIFIERS = KEY_MOD_2ND | KEY_MOD_DIAMOND | KEY_MOD_SHIFT;

inline constexpr uint16_t KEY_HOME = KEY_MOD_DIAMOND + 'Q';
inline constexpr uint16_t KEY_QUIT = KEY_MOD_2ND + KEY_ESC;

// How a key is coloured on the drawn keyboard.
enum class KeyKind { Character, Function, Cursor, Command, Modifier, Enter };

// One key. Places are in face units: the drawn calculator is FACE_WIDTH x
// FACE_HEIGHT of them, its screen SCREEN_FACE_RECT.
struct CalcKey {
    const char* name;        // the command line's name: "ENTER", "F1", "Q", "7", "+"
    const char* label;       // printed on the key, UTF-8
    const char* upperLabel;  // printed above it, the 2nd or diamond use worth knowing; "" for none
    uint16_t code;           // sent alone; 0 for a modifier
    uint16_t modifier;       // KEY_MOD_* for 2nd, diamond and shift, else 0
    KeyKind kind;
    int16_t x, y, width, height;

    // What the key sends after `modifiers` (a sum of KEY_MOD_*).
    uint16_t CodeWith(uint16_t modifiers) const;
    bool Contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
};

struct FaceRect {
    int x, y, width, height;
};
inline constexpr int FACE_WIDTH = 760;
inline constexpr int FACE_HEIGHT = 468;
// The screen at double size.
inline constexpr FaceRect SCREEN_FACE_RECT = {90, 12, 480, 256};

// Every key, in no particular order.
std::span<const CalcKey> GetCalcKeys();
// The key under a point of the face, null between keys.
const CalcKey* FindKeyAt(int x, int y);
const CalcKey* FindKeyNamed(const std::string& name);

// A key press the command line names: a key ("ENTER", "F1", "Q"), one
// with modifiers before it ("2ND+ESC", "DIAMOND+Q", "SHIFT+UP"), or one of
// the calculator's own names for such a pair ("HOME", "QUIT", "DEL",
// "INS"). Names are written in capitals. Empty when it names no key.
std::optional<uint16_t> ParseKeyName(const std::string& name);
// Whether `text` is written as a key name would be (capitals, digits and
// "+", at least one capital, more than one character), so that one the
// table does not know is refused instead of being typed.
bool LooksLikeKeyName(const std::string& text);

// The key that types `character` (a Unicode code point), 0 when the
// keyboard cannot type it: printable ASCII types itself, and the
// calculator's own signs (θ, →, −, ×, ÷) their keys.
uint16_t KeyCodeForCharacter(char32_t character);
// The keys that type the UTF-8 `text`. False when a character cannot be
// typed; `refused` then holds it.
bool KeyCodesForText(const std::string& text, std::vector<uint16_t>& codes, std::string& refused);

// A short name of a key press for the user: "ENTER", "QUIT", "2ND+F1",
// "x" for a character.
std::string KeyCodeName(uint16_t code);
