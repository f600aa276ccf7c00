#include "link/VarTypes.h"

#include <array>
#include <cstdio>

namespace {

constexpr std::array<VarTypeInfo, 14> VAR_TYPES = {{
    {VAR_EXPR, "EXPR", 2, ".92e"},
    {VAR_LIST, "LIST", 3, ".92l"},
    {VAR_MAT, "MAT", 4, ".92m"},
    {VAR_DAT, "DAT", 5, ".92c"},
    {VAR_TEXT, "TEXT", 6, ".92t"},
    {VAR_STR, "STR", 7, ".92s"},
    {VAR_GFX, "GFX", 8, ".92d"},
    {VAR_FIG, "FIG", 9, ".92a"},
    {VAR_PIC, "PIC", 10, ".92i"},
    {VAR_PRG, "PRG", 11, ".92p"},
    {VAR_FUNC, "FUNC", 12, ".92f"},
    {VAR_MACR, "MACR", 13, ".92x"},
    {VAR_DIRLIST, nullptr, -1, ""},
    {FOLDER_ENTRY_TYPE, nullptr, ICON_FOLDER, ""},
}};

} // namespace

const VarTypeInfo* FindVarType(uint8_t type)
{
    for (const VarTypeInfo& info : VAR_TYPES)
        if (info.type == type)
            return &info;
    return nullptr;
}

std::string GetTypeExtension(uint8_t type)
{
    const VarTypeInfo* info = FindVarType(type);
    return info ? info->extension : "";
}

std::string GetTypeDisplayName(uint8_t type)
{
    const VarTypeInfo* info = FindVarType(type);
    if (info && info->name)
        return info->name;
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(type));
    return hex;
}

int GetTypeIconIndex(uint8_t type)
{
    const VarTypeInfo* info = FindVarType(type);
    return info && info->name ? info->iconIndex : ICON_UNKNOWN_TYPE;
}
