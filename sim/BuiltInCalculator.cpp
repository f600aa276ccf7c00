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

bool CBuiltInCalculator::SetMenuSend(const std::vector<std::string>& items, std::string& error)
{
    size_t backups = 0;
    for (const std::string& item : items) {
        const size_t separator = item.find('\\');
        if (item == MENU_SEND_BACKUP) {
            ++backups;
        } else if (separator == std::string::npos ||
                   m_calculator.FindVariable(item.substr(0, separator), item.substr(separator + 1)) == nullptr) {
            error = "the simulated calculator holds no " + item;
            return false;
        }
    }
    if (backups > 0 && backups < items.size()) {
        error = "the simulated calculator sends variables or its backup, not both at once";
        return false;
    }
    m_menuSend = items;
    return true;
}

bool CBuiltInCalculator::SendFromMenu()
{
    if (m_menuSend.empty())
        return false;
    if (m_menuSend.front() == MENU_SEND_BACKUP)
        return m_calculator.SendBackupFromMenu();
    return m_calculator.SendVariablesFromMenu(m_menuSend);
}
