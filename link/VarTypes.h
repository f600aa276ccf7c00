#pragma once

#include <cstdint>
#include <string>

// The one table of calculator type bytes: the short name shown in the
// variable list, the icon beside the entry and the extension a received
// variable is saved under.

inline constexpr uint8_t VAR_EXPR = 0x00;
inline constexpr uint8_t VAR_LIST = 0x04;
inline constexpr uint8_t VAR_MAT = 0x06;
inline constexpr uint8_t VAR_DAT = 0x0A;
inline constexpr uint8_t VAR_TEXT = 0x0B;
inline constexpr uint8_t VAR_STR = 0x0C;
inline constexpr uint8_t VAR_GFX = 0x0D;
inline constexpr uint8_t VAR_FIG = 0x0E;
inline constexpr uint8_t VAR_PIC = 0x10;
inline constexpr uint8_t VAR_PRG = 0x12;
inline constexpr uint8_t VAR_FUNC = 0x13;
inline constexpr uint8_t VAR_MACR = 0x14;
// Not variables: the type of the directory request, and the mark of a
// folder entry in the directory listing.
inline constexpr uint8_t VAR_DIRLIST = 0x19;
inline constexpr uint8_t FOLDER_ENTRY_TYPE = 0x1F;

// Image indices of the list icons: the folder, a spare one that also stands
// for types the table does not know, then one per variable type.
inline constexpr int ICON_FOLDER = 0;
inline constexpr int ICON_UNKNOWN_TYPE = 1;
inline constexpr int ICON_COUNT = 14;

struct VarTypeInfo {
    uint8_t type;
    const char* name;      // nullptr: not a variable type, never shown
    int iconIndex;         // -1: no icon
    const char* extension; // with the leading dot; "" when never saved
};

// The table row of `type`, or nullptr for a type the table does not hold.
const VarTypeInfo* FindVarType(uint8_t type);

// ".92c" for DAT and so on; "" for a type without an extension.
std::string GetTypeExtension(uint8_t type);

// What the variable list shows for `type`: the table's name, or for any
// type without one the byte in hex ("0x0F"), so that no entry is nameless.
std::string GetTypeDisplayName(uint8_t type);
int GetTypeIconIndex(uint8_t type);
