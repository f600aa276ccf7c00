#pragma once

#include <iosfwd>

class CBuiltInCalculator;
class CSettings;
class ILinkProgress;
struct CCliOptions;

// The `cables` command: one line for each cable and port it could use, the
// cable's word and the port, tab-separated; with --probe a third column,
// "answered", "no answer" or why the port would not open. It needs no open
// link: each probe opens and closes its own.
int RunCablesCommand(const CCliOptions& options, const CSettings& settings, std::ostream& out,
                     ILinkProgress& progress, CBuiltInCalculator* simulated);
