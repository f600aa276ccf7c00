#include "gui/qt/LinkApp.h"
#include "settings/CommandLine.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string g_strNoDisplay;

// Without a display the toolkit would stop with a dump of its own; the
// program says in one line what is wrong and how to run it anyway.
std::string NoDisplayMessage(const std::string& program, const std::vector<std::string>& args, const char* why)
{
    std::string rerun = "xvfb-run -a " + program;
    for (const std::string& arg : args)
        rerun += " " + arg;
    return program + ": " + why + "; to run it on a virtual display: " + rerun + "\n";
}

bool HasDisplay()
{
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return true;
    }
    return false;
}

// While the toolkit opens the display: its complaints about the display are
// held back, and if it gives up, the one-line message replaces its dump.
void OpeningDisplayHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        std::fputs(g_strNoDisplay.c_str(), stderr);
        std::fflush(stderr);
        _exit(1);
    }
    if (context.category != nullptr && std::string(context.category).rfind("qt.qpa", 0) == 0)
        return;
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
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
    if (commandLine.bVersion) {
        std::fputs(ProgramVersionText("vantrel92").c_str(), stdout);
        return 0;
    }
    if (const std::string problem = SimulateFolderProblem(commandLine); !problem.empty()) {
        std::fprintf(stderr, "%s: %s\n", program.c_str(), problem.c_str());
        return 2;
    }
#ifndef _WIN32
    if (!HasDisplay()) {
        std::fputs(NoDisplayMessage(program, args, "no display found (DISPLAY is not set)").c_str(), stderr);
        return 1;
    }
#endif
    g_strNoDisplay = NoDisplayMessage(program, args, "cannot open the display");
    const QtMessageHandler previous = qInstallMessageHandler(OpeningDisplayHandler);
    QApplication application(argc, argv);
    qInstallMessageHandler(previous);
    CLinkApp app;
    return app.InitInstance(commandLine);
}
