#pragma once

#include "settings/CommandLine.h"

class CSheet;

// The application: runs the sheet once and ends when it is closed.
class CLinkApp {
public:
    CLinkApp();

    // The start-up sequence: the sheet is built (settings, language library,
    // pages), run modally when a language library was found, and destroyed.
    // Returns the program's exit status: 0, or 1 without a language library.
    int InitInstance(const CCommandLine& commandLine);

    // Readies a built sheet for its run: no Apply or Help button, the
    // program's icon, and the simulated calculator when asked for (holding
    // the files of the given folder, with a message naming those it could
    // not take).
    static void PrepareSheet(CSheet& sheet, const CCommandLine& commandLine);
};
