#pragma once

#include "language/LanguageLibrary.h"

#include <cstdint>
#include <string>

// The program's own string table (compiled into the program, Italian only),
// looked up with an explicit language as the system does; empty when the
// table has no such string in that language.
std::string LoadOwnString(int id, uint16_t language = g_wStringLanguage);

// Where the program's own resources are mounted in the toolkit's resource
// system: the sheet icon and the file-name dialog template.
inline constexpr const char* OWN_ICON_SHEET = ":/vantrel92/ICON/144";
inline constexpr const char* OWN_DIALOG_INPUT_STRING = ":/vantrel92/DIALOG/101";
