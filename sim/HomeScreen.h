#pragma once

#include "sim/CalcMemory.h"
#include "sim/ScreenCanvas.h"

// The simulated calculator's home screen: its name, its folders with their
// variable counts, and a status line, so that a captured screen is
// recognisable at a glance.
void DrawHomeScreen(SimScreen& screen, const CCalcMemory& memory);
