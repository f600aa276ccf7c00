#include "shell/SimulatedCalculator.h"

CSimulatedCalculator::CSimulatedCalculator(uint16_t base) : m_cable(base)
{
    m_calculator.LoadSampleContent();
    m_cable.SetPeer(&m_calculator);
}

CSimulatedCalculator::~CSimulatedCalculator()
{
    m_cable.SetPeer(nullptr);
}
