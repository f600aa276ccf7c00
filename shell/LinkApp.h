#pragma once

#include "shell/CommandLine.h"

// The application: runs the sheet once and ends when it is closed.
class CLinkApp {
public:
    CLinkApp();

    // The start-up sequence: the sheet is built (settings, language library,
    // pages), run modally when a language library was found, and destroyed.
    // Returns the program's exit status: 0, or 1 without a language library.
    int InitInstance(const CCommandLine& commandLine);
};
