#include "shell/CommandLine.h"
#include "shell/LinkApp.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Without a display the toolkit would abort with a dump of its own; say in
// one line what is wrong and how to run the program anyway.
bool HasDisplay()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr && *platform != '\0')
        return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const std::string program = argc > 0 ? argv[0] : "vantrel92";
    CCommandLine commandLine;
    std::string error;
    if (!ParseCommandLine(args, commandLine, error)) {
        std::fprintf(stderr, "%s: %s\n%s", program.c_str(), error.c_str(), CommandLineUsage(program).c_str());
        return 2;
    }
    if (commandLine.bHelp) {
        std::fputs(CommandLineUsage(program).c_str(), stdout);
        return 0;
    }
    std::error_code folderError;
    if (!commandLine.strSimulateFolder.empty() &&
        !std::filesystem::is_directory(commandLine.strSimulateFolder, folderError)) {
        std::fprintf(stderr, "%s: %s: not a folder\n", program.c_str(), commandLine.strSimulateFolder.c_str());
        return 2;
    }
#ifndef _WIN32
    if (!HasDisplay()) {
        std::fprintf(stderr, "%s: no display found (DISPLAY is not set); to run without one: xvfb-run -a %s%s\n",
                     program.c_str(), program.c_str(), commandLine.bSimulate ? " --simulate" : "");
        return 1;
    }
#endif
    QApplication application(argc, argv);
    CLinkApp app;
    return app.InitInstance(commandLine);
}
