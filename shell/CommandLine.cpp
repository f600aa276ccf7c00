#include "shell/CommandLine.h"

bool ParseCommandLine(const std::vector<std::string>& args, CCommandLine& commandLine, std::string& error)
{
    commandLine = CCommandLine{};
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--simulate" && !commandLine.bSimulate) {
            commandLine.bSimulate = true;
            if (i + 1 < args.size() && !args[i + 1].empty() && args[i + 1][0] != '-')
                commandLine.strSimulateFolder = args[++i];
        } else if (arg.rfind("--simulate=", 0) == 0 && !commandLine.bSimulate && arg.size() > 11) {
            commandLine.bSimulate = true;
            commandLine.strSimulateFolder = arg.substr(11);
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
    return "usage: " + program + " [--simulate [DIR]]\n"
           "  --simulate   link to the built-in simulated TI-92 instead of the parallel port\n"
           "               (with DIR: holding the variable files of DIR instead of its samples)\n";
}
