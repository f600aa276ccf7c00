#pragma once

#include "sim/SimulatedCable.h"
#include "sim/VirtualCalculator.h"

#include <csignal>
#include <cstdint>

// Stands between the cable and the calculator and raises a signal, as a
// user would with Ctrl+C or kill, once the calculator has moved `bytes`
// bytes from now; `times` times, one port access after the other, as an
// impatient user would.
class CSignallingPeer final : public ICablePeer {
public:
    CSignallingPeer(CVirtualCalculator& calc, uint64_t bytes, int signal, unsigned times = 1)
        : m_calc(calc), m_nAtBits(calc.GetBitsMoved() + 8 * bytes), m_nSignal(signal), m_nLeft(times)
    {
    }
    void Step(CSimulatedCable& cable) override
    {
        m_calc.Step(cable);
        if (m_nLeft > 0 && m_calc.GetBitsMoved() >= m_nAtBits) {
            --m_nLeft;
            std::raise(m_nSignal);
        }
    }

private:
    CVirtualCalculator& m_calc;
    uint64_t m_nAtBits;
    int m_nSignal;
    unsigned m_nLeft;
};
