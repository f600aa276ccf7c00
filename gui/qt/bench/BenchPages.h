#pragma once

// What the benchmarks of the program's pages share: the toolkit started off
// screen, and a page built from the English language library.

#include "gui/qt/QtPropertyPage.h"
#include "language/LanguageLibrary.h"
#include "language/ProgramFolder.h"

#include <QApplication>

#include <cstdio>

// Off screen unless the caller chose a platform; call before the application
// object exists.
inline void UseOffscreenUnlessChosen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Loads the English library from beside the program and builds `page` from
// its template `idd`; says on the error stream, as `bench`, what failed.
inline bool BuildEnglishPage(CQtPropertyPage& page, int idd, const char* bench, const char* pageName)
{
    SetProgramFolder(VANTREL_BIN_DIR);
    g_hLangLibrary = LoadLanguageBundle("English.dll");
    if (g_hLangLibrary == nullptr) {
        std::fprintf(stderr, "%s: English.dll not found in %s\n", bench, VANTREL_BIN_DIR);
        return false;
    }
    size_t size = 0;
    const void* pageTemplate = LoadLanguageResource(idd, RT_DIALOG, &size);
    if (pageTemplate == nullptr || !page.SetTemplate(pageTemplate, size)) {
        std::fprintf(stderr, "%s: %s template cannot be built\n", bench, pageName);
        return false;
    }
    return true;
}
