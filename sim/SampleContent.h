#pragma once

#include "sim/CalcMemory.h"

// Fills the memory with the built-in sample calculator: folder "main" with a
// string, a text, a picture, an integer expression and a list; folder
// "algebra" with a few more; and folder "0001", whose four-digit name the
// directory page keeps out of its folder list. All contents are valid TI-92
// variables, so they can be sent on to a real calculator.
void LoadSampleContent(CCalcMemory& memory);
