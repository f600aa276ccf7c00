#include "language/OwnResources.h"

#include "language/PeResourceReader.h"
#include "language/StringBlock.h"
#include "text/Utf16Text.h"

#include <windows.h>

std::string LoadOwnString(int id, uint16_t language)
{
    if (id < 0 || id > 0xFFFF)
        return {};
    // The program's own string table, in the language asked for only: the
    // system would otherwise fall back to another language's block.
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceExW(self, MAKEINTRESOURCEW(PE_RT_STRING), MAKEINTRESOURCEW(StringBlockOf(uint16_t(id))), language);
    HGLOBAL loaded = found != nullptr ? LoadResource(self, found) : nullptr;
    const auto* block = loaded != nullptr ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
    std::u16string text;
    if (block == nullptr || !ReadBlockString(block, SizeofResource(self, found), unsigned(id % 16), text))
        return {};
    return Utf16ToUtf8(text);
}
