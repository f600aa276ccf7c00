#pragma once

#include "language/LanguageLoader.h"

#include <cstdint>

// Loads the language library for a stored language index and returns its
// language id: 0 loads "Italiano.dll" (1040), falling back to "English.dll"
// (1033); 1 loads "English.dll"; any other index loads nothing. 0 when no
// library was loaded. A library loaded before is freed first.
uint16_t ChooseLanguageLibrary(int32_t languageIndex, ILanguageLoader& loader);

// The names of the two libraries and their language tags (the system's
// LANGID numbers).
inline constexpr const char* LIBRARY_ITALIAN = "Italiano.dll";
inline constexpr const char* LIBRARY_ENGLISH = "English.dll";
inline constexpr uint16_t LANGID_ITALIAN = 1040;
inline constexpr uint16_t LANGID_ENGLISH = 1033;
