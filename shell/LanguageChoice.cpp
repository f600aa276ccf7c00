#include "shell/LanguageChoice.h"

#include "shell/LanguageLibrary.h"
#include "shell/ProgramTexts.h"

CBundleLanguageLoader::CBundleLanguageLoader()
{
    // The core's own texts follow whichever library is loaded (none: English).
    SetProgramTextLookup(LoadLanguageString);
}

bool CBundleLanguageLoader::Load(const char* fileName)
{
    FreeLanguageLibrary();
    g_hLangLibrary = LoadLanguageBundle(fileName);
    return g_hLangLibrary != nullptr;
}

void CBundleLanguageLoader::Free()
{
    FreeLanguageLibrary();
}

uint16_t LoadLanguageLibraryFor(int32_t languageIndex)
{
    CBundleLanguageLoader loader;
    return ChooseLanguageLibrary(languageIndex, loader);
}
