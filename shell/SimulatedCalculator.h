#pragma once

#include "sim/SimulatedCable.h"
#include "sim/VirtualCalculator.h"

#include <cstdint>
#include <memory>

// The built-in calculator, holding the sample content, on its simulated
// cable: for trying the program without hardware. It must outlive the port
// client that uses its backend.
class CSimulatedCalculator {
public:
    explicit CSimulatedCalculator(uint16_t base);
    ~CSimulatedCalculator();

    CSimulatedCalculator(const CSimulatedCalculator&) = delete;
    CSimulatedCalculator& operator=(const CSimulatedCalculator&) = delete;

    std::unique_ptr<IPortBackend> MakeBackend() { return m_cable.MakeBackend(); }
    CSimulatedCable& GetCable() { return m_cable; }
    CVirtualCalculator& GetCalculator() { return m_calculator; }

private:
    CSimulatedCable m_cable;
    CVirtualCalculator m_calculator;
};
