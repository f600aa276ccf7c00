#pragma once

#include "link/Clock.h"

#include <cstdint>

// Holds the calculator's end of the simulated cable to the pace of a real
// link: bits start no faster than the given bytes a second allow, measured
// on `clock`. An end that is held back simply does not answer yet, and the
// PC polls on as it would with a slow calculator. A short burst (a few
// milliseconds' worth, at least a byte) may go at once after a pause. The
// pace also keeps the time since the last bit, so that the end can give up
// on an exchange the PC has left, as a real calculator does.
class CCablePace {
public:
    CCablePace(uint32_t bytesPerSecond, IClock& clock);

    // True, and the bit counted, when one more bit may start now.
    bool TakeBit();
    // No bit has started for `ms`; the quiet spell then starts afresh, so
    // it is reported once.
    bool EndQuietSpell(uint64_t ms);

private:
    // Allowance in thousandths of a bit: a millisecond adds the bits a
    // second allows, a bit costs a thousand.
    static constexpr uint64_t UNITS_PER_BIT = 1000;
    static constexpr uint64_t BURST_MS = 10;

    uint64_t m_nBitsPerSecond;
    uint64_t m_nMaxCredit;
    IClock& m_clock;
    uint64_t m_nLastMs;
    uint64_t m_nCredit;
    uint64_t m_nLastBitMs;
};
