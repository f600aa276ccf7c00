#include "language/LanguageLibraryLoader.h"

#include "language/LanguageLibrary.h"
#include "text/ProgramTexts.h"

CLanguageLibraryLoader::CLanguageLibraryLoader()
{
    // The core's own texts follow whichever library is loaded (none: English).
    SetProgramTextLookup(LoadLanguageString);
}

bool CLanguageLibraryLoader::Load(const char* fileName)
{
    FreeLanguageLibrary();
    g_hLangLibrary = LoadLanguageBundle(fileName);
    return g_hLangLibrary != nullptr;
}

void CLanguageLibraryLoader::Free()
{
    FreeLanguageLibrary();
}

uint16_t LoadLanguageLibraryFor(int32_t languageIndex)
{
    CLanguageLibraryLoader loader;
    return ChooseLanguageLibrary(languageIndex, loader);
}
