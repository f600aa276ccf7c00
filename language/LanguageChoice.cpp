#include "language/LanguageChoice.h"

uint16_t ChooseLanguageLibrary(int32_t languageIndex, ILanguageLoader& loader)
{
    // A library left from an earlier load is not leaked.
    loader.Free();
    if (languageIndex == 0) {
        if (loader.Load(LIBRARY_ITALIAN))
            return LANGID_ITALIAN;
    } else if (languageIndex != 1) {
        return 0;
    }
    return loader.Load(LIBRARY_ENGLISH) ? LANGID_ENGLISH : 0;
}
