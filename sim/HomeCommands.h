#pragma once

#include "sim/CalcMemory.h"

#include <string>

// What the simulated calculator's home screen does with an entry when ENTER
// is pressed, and the answer it shows on the right of its history. Enough
// of the TI-92 to be driven from the PC and checked on its screen:
//   delvar folder\name[, ...]   deletes the variables ("Done")
//   NewFold name                makes an empty folder ("Done")
//   folder\name(arguments)      runs a program ("Done"); a function, or a
//                               name that is neither, stays as it was typed
//   an arithmetic of whole numbers (+ - * / ^, brackets, the negation
//                               key) evaluates exactly, "7/2" staying a
//                               fraction as in the calculator's AUTO mode
// Anything else comes back as it was typed, as an expression of unknowns
// would. Command words may be typed in any case. Entries are in the
// calculator's character codes: 173 is the negation sign.
std::string RunHomeCommand(const std::string& entry, CCalcMemory& memory);
