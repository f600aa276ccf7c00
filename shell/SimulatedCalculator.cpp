#include "shell/SimulatedCalculator.h"

#include "sim/CalcLinkEnd.h"

CSimulatedCalculator::CSimulatedCalculator(uint16_t base) : m_cable(base), m_pCalculator(std::make_unique<CCalcLinkEnd>())
{
    m_cable.SetPeer(m_pCalculator.get());
}

CSimulatedCalculator::~CSimulatedCalculator()
{
    m_cable.SetPeer(nullptr);
}
