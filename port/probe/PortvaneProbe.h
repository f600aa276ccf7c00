#pragma once

#include "port/PortvaneSystem.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// portvane-probe: opens the port through the Portvane driver, prints the
// driver's identification and the status register of the port, and closes
// it again. `args` are the command-line arguments after the program name.
// Returns the exit status: 0 success, 1 the driver did not open or could not
// read the register, 2 bad usage.
int RunPortvaneProbe(IPortvaneSystem& system, const std::vector<std::string>& args, std::ostream& out,
                     std::ostream& err);

// A port base in hexadecimal, with or without "0x"; the status register at
// base + 1 must be a port address too.
std::optional<uint16_t> ParseProbeBase(const std::string& text);
