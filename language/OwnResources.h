#pragma once

#include "language/LanguageLibrary.h"

#include <cstdint>
#include <string>

// The program's own string table (compiled into the program, Italian only),
// looked up with an explicit language as the system does; empty when the
// table has no such string in that language.
std::string LoadOwnString(int id, uint16_t language = g_wStringLanguage);
// The program's own string, or the language library's for an id the
// program's own table lacks: the texts added since, which both languages
// have.
inline std::string OwnOrLanguageString(int id)
{
    std::string text = LoadOwnString(id);
    return text.empty() ? LoadLanguageString(id) : text;
}

// Where the program's own resources are mounted in the toolkit's resource
// system: the sheet icon here, the file-name dialog template under
// ":/vantrel92/DIALOG/<its number>".
inline constexpr const char* OWN_ICON_SHEET = ":/vantrel92/ICON/144";
