#pragma once

#include <iosfwd>

class CBuiltInCalculator;
class CSettings;
class ILinkProgress;
struct CCliOptions;

// The `cables` command: one line for each cable and port it could use, the
// cable's word and the port, tab-separated; with --probe a third column,
// "answered", "no answer" or why the port would not open. A USB link cable's
// line has its version after its place, then why it cannot be opened or,
// with --probe, the answer. It needs no open link: each probe opens and
// closes its own.
int RunCablesCommand(const CCliOptions& options, const CSettings& settings, std::ostream& out,
                     ILinkProgress& progress, CBuiltInCalculator* simulated);
