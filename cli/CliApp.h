#pragma once

#include <iosfwd>

class CBuiltInCalculator;
#include <string>
#include <vector>

// Where one run of the command-line program reads and writes, and which of
// its streams are terminals.
struct CCliStreams {
    std::ostream& out;
    std::ostream& err;
    std::istream& in;
    bool bInTerminal = false;
    bool bErrTerminal = false;
};

// Runs the command line `args` (without the program name): reads the
// settings and the language library as the GUI does, opens the link and
// runs the subcommand. Returns the exit status. `simulated`, when given, is
// the calculator that --simulate talks to instead of a new one, as it is.
int RunCli(const std::vector<std::string>& args, const CCliStreams& streams,
           CBuiltInCalculator* simulated = nullptr);
