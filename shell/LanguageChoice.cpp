#include "shell/LanguageChoice.h"

#include "shell/LanguageLibrary.h"

uint16_t LoadLanguageLibraryFor(int32_t languageIndex)
{
    // A library left from an earlier load is not leaked.
    FreeLanguageLibrary();
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
