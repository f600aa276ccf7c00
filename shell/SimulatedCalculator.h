#pragma once

#include "sim/SimulatedCable.h"

#include <cstdint>
#include <memory>

class CCalcLinkEnd;

// The built-in calculator on its simulated cable, for trying the program
// without hardware. It must outlive the port client that uses its backend.
class CSimulatedCalculator {
public:
    explicit CSimulatedCalculator(uint16_t base);
    ~CSimulatedCalculator();

    std::unique_ptr<IPortBackend> MakeBackend() { return m_cable.MakeBackend(); }
    CSimulatedCable& GetCable() { return m_cable; }
    CCalcLinkEnd& GetCalculator() { return *m_pCalculator; }

private:
    CSimulatedCable m_cable;
    std::unique_ptr<CCalcLinkEnd> m_pCalculator;
};
