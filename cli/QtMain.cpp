#include "cli/CliApp.h"
#include "cli/InterruptSignals.h"

#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

int main(int argc, char** argv)
{
    // Before anything else: a signal while the program starts is noted, and
    // ends the run cleanly once it has begun.
    CInterruptSignals interrupts;
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    // The toolkit's core finds the program's folder and the settings file;
    // no display is needed.
    QCoreApplication application(argc, argv);
    const CCliStreams streams{std::cout, std::cerr, std::cin, isatty(STDIN_FILENO) == 1,
                              isatty(STDERR_FILENO) == 1};
    return RunCli(args, streams);
}
