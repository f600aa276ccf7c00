#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Texts of the core's own operations (troubles with files, with the port...)
// by string id, in the language the user chose. The programs hand the core
// their language library's lookup once it is loaded; before that, or when the
// library lacks an id, the English text built into the program answers. It is
// generated from the English library's own source, so the two never differ.
using ProgramTextLookup = std::string (*)(int id);
void SetProgramTextLookup(ProgramTextLookup lookup);

std::string ProgramText(int id);
// The text with its "%s" filled by FormatText (text/TextFormat.h).
std::string ProgramText(int id, std::initializer_list<std::string_view> args);
