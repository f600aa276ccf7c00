#include "sim/BuiltInCalculator.h"

#include "sim/CalculatorFolderLoader.h"

CBuiltInCalculator::CBuiltInCalculator(uint16_t base) : m_cable(base)
{
    m_calculator.LoadSampleContent();
    m_cable.SetPeer(&m_calculator);
}

CBuiltInCalculator::~CBuiltInCalculator()
{
    m_cable.SetPeer(nullptr);
}

void CBuiltInCalculator::SetPace(uint32_t bytesPerSecond)
{
    m_calculator.SetPace(nullptr);
    m_pPace.reset();
    if (bytesPerSecond == 0)
        return;
    m_pPace = std::make_unique<CCablePace>(bytesPerSecond, m_clock);
    m_calculator.SetPace(m_pPace.get());
}

size_t CBuiltInCalculator::LoadFolder(const std::string& folder, std::vector<std::string>& problems)
{
    m_calculator.Memory().Clear();
    const size_t loaded = LoadCalculatorFolder(m_calculator.Memory(), folder, problems);
    m_calculator.DrawHomeScreen();
    return loaded;
}
