#pragma once

#include "language/LanguageChoice.h"

#include <cstdint>

// Language libraries loaded into g_hLangLibrary: the toolkit's resource
// bundles on Linux, resource-only libraries on Windows.
class CLanguageLibraryLoader final : public ILanguageLoader {
public:
    CLanguageLibraryLoader();
    bool Load(const char* fileName) override;
    void Free() override;
};

// Loads the language library for a stored language index into
// g_hLangLibrary (see ChooseLanguageLibrary).
uint16_t LoadLanguageLibraryFor(int32_t languageIndex);
