#include "shell/CommandLine.h"

bool ParseCommandLine(const std::vector<std::string>& args, CCommandLine& commandLine, std::string& error)
{
    commandLine = CCommandLine{};
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--simulate" && !commandLine.bSimulate) {
            commandLine.bSimulate = true;
        } else if (arg == "--help" || arg == "-h") {
            commandLine.bHelp = true;
        } else {
            error = "unexpected argument: " + arg;
            return false;
        }
    }
    return true;
}

std::string CommandLineUsage(const std::string& program)
{
    return "usage: " + program + " [--simulate]\n"
           "  --simulate   link to the built-in simulated TI-92 instead of the parallel port\n";
}
