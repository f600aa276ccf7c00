#include "shell/LanguageChoice.h"

#include "shell/LanguageLibrary.h"
#include "shell/ProgramTexts.h"

uint16_t LoadLanguageLibraryFor(int32_t languageIndex)
{
    // A library left from an earlier load is not leaked.
    FreeLanguageLibrary();
    // The core's own texts follow whichever library is loaded (none: English).
    SetProgramTextLookup(LoadLanguageString);
    if (languageIndex == 0) {
        g_hLangLibrary = LoadLanguageBundle(LIBRARY_ITALIAN);
        if (g_hLangLibrary != nullptr)
            return LANGID_ITALIAN;
    } else if (languageIndex != 1) {
        return 0;
    }
    g_hLangLibrary = LoadLanguageBundle(LIBRARY_ENGLISH);
    return g_hLangLibrary != nullptr ? LANGID_ENGLISH : 0;
}
