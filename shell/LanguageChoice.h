#pragma once

#include <cstdint>

// Loads the language library for a stored language index into
// g_hLangLibrary and returns its language id: 0 loads "Italiano.dll" (1040),
// falling back to "English.dll" (1033); 1 loads "English.dll"; any other
// index loads nothing. 0 when no library was loaded.
uint16_t LoadLanguageLibraryFor(int32_t languageIndex);

// The names of the two libraries.
inline constexpr const char* LIBRARY_ITALIAN = "Italiano.dll";
inline constexpr const char* LIBRARY_ENGLISH = "English.dll";
