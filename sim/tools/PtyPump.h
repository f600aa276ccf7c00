#pragma once

#include "sim/CalcLinkEnd.h"

#include <cstdint>
#include <vector>

// The calculator's end of a gray cable on a pseudo-terminal's master side:
// bytes from the PC go to the calculator whole, and what the calculator
// sends goes back, as the cable's own computer hands them on.
class CPtyPump {
public:
    CPtyPump(int master, CCalcLinkEnd& end) : m_nMaster(master), m_end(end) {}

    // Waits up to `waitMs` for the PC's bytes (less while the calculator has
    // bytes held back by its pace), hands them on and writes what the
    // calculator has to send.
    void Step(int waitMs);

private:
    int m_nMaster;
    CCalcLinkEnd& m_end;
    std::vector<uint8_t> m_out;
};
