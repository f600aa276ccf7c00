#include "cli/CliApp.h"

#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <QCoreApplication>
#include <unistd.h>
#endif

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
#ifdef _WIN32
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
#else
    // The toolkit's core finds the program's folder and the image plugins;
    // no display is needed.
    QCoreApplication application(argc, argv);
    const CCliStreams streams{std::cout, std::cerr, std::cin, isatty(STDIN_FILENO) == 1,
                              isatty(STDERR_FILENO) == 1};
    return RunCli(args, streams);
#endif
}
