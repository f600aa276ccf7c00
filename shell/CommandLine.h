#pragma once

#include <string>
#include <vector>

// What the program was asked for on its command line. With no arguments it
// drives the configured parallel port; "--simulate" links it to the
// built-in simulated calculator instead, "--simulate DIR" to one holding the
// variable files of DIR.
struct CCommandLine {
    bool bSimulate = false;
    bool bHelp = false;
    std::string strSimulateFolder;
};

// `args` without the program name. False, with `error` set, for an argument
// the program does not know.
bool ParseCommandLine(const std::vector<std::string>& args, CCommandLine& commandLine, std::string& error);

// One line per option, for --help and after a wrong argument.
std::string CommandLineUsage(const std::string& program);
