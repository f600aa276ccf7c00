#include "cli/CliApp.h"
#include "cli/InterruptSignals.h"
#include "settings/CommandLine.h"

#include <iostream>
#include <string>
#include <vector>

#include <io.h>
#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    // Before anything else: a signal while the program starts is noted, and
    // ends the run cleanly once it has begun.
    CInterruptSignals interrupts;
    const std::vector<std::string> args = ArgumentsFromWide(argc, argv);
    // The texts are UTF-8; a console shows them as such only when told.
    const UINT consolePage = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
    const CCliStreams streams{std::cout, std::cerr, std::cin, _isatty(_fileno(stdin)) != 0,
                              _isatty(_fileno(stderr)) != 0};
    const int status = RunCli(args, streams);
    std::cout.flush();
    std::cerr.flush();
    if (consolePage != 0)
        SetConsoleOutputCP(consolePage);
    return status;
}
