#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CCalcMemory;

// Gives the simulated calculator the variables of a folder of variable
// files: every single-variable and group file in it, in the order of their
// file names, each variable into the folder its file names (the header's
// folder, or the folder entry before it). Files that are not variable files
// are passed over; damaged files and variables the calculator cannot hold
// are reported in `problems`, one line each, and skipped. Returns the
// number of variables loaded.
size_t LoadCalculatorFolder(CCalcMemory& memory, const std::string& folder, std::vector<std::string>& problems);
