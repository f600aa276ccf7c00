#include "gui/pages/ConfigLogic.h"

#include "gui/pages/ConfigView.h"
#include "language/LanguageChoice.h"
#include "port/SerialPorts.h"
#include "text/UserMessages.h"

#include <algorithm>

const std::vector<std::string>& CConfigLogic::PortItems()
{
    static const std::vector<std::string> items = {"0x278", "0x378"};
    return items;
}

const std::vector<std::string>& CConfigLogic::LanguageItems()
{
    static const std::vector<std::string> items = {"Italiano", "English"};
    return items;
}

CConfigLogic::CConfigLogic(ISettingsStore& store, IUserMessages& messages)
    : m_store(store), m_messages(messages), m_serialPortLister(ListSystemSerialPorts)
{
    LoadSettings();
}

void CConfigLogic::LoadSettings()
{
    LoadFrom(m_store, m_messages);
}

void CConfigLogic::SaveSettings()
{
    SaveTo(m_store, m_messages);
}

uint16_t CConfigLogic::LoadLanguageLibrary(ILanguageLoader& loader) const
{
    return ChooseLanguageLibrary(m_nLanguage, loader);
}

void CConfigLogic::OnInitDialog()
{
    // A longer port text would not be read back at the next start.
    LoadSettings();
    if (m_pView != nullptr) {
        m_pView->FillChoices(PortItems(), LanguageItems(), PORT_BUFFER_CHARS - 1);
        std::vector<int> cableNames;
        for (CableKind cable : ALL_CABLES)
            cableNames.push_back(CableNameId(cable));
        // The ports there are now, and the stored one even when it is not
        // plugged in at the moment.
        std::vector<std::string> ports = m_serialPortLister();
        if (std::find(ports.begin(), ports.end(), m_strPortSerial) == ports.end())
            ports.insert(ports.begin(), m_strPortSerial);
        m_pView->FillCableChoices(cableNames, ports, SERIAL_PORT_BUFFER_CHARS - 1);
    }
    UpdateData(false);
}

bool CConfigLogic::UpdateData(bool bSaveAndValidate)
{
    if (m_pView == nullptr)
        return true;
    if (!bSaveAndValidate) {
        // The port box takes any text, so a stored value that is not one of
        // the two offered is shown, and saved again, as it is.
        const bool known = m_nLanguage >= 0 && static_cast<size_t>(m_nLanguage) < LanguageItems().size();
        m_pView->ShowValues({m_strPortLpt, known ? m_nLanguage : -1, std::to_string(m_uTimeout)});
        m_pView->ShowCable({static_cast<int>(m_cable), m_strPortSerial});
        m_pView->ShowSerialPortChoice(IsSerialCable(m_cable));
        return true;
    }
    const ConfigValues typed = m_pView->ReadValues();
    uint32_t timeout = 0;
    std::string message;
    if (!ParseTimeoutText(typed.timeout, timeout, message)) {
        m_messages.ShowText(message);
        m_pView->FocusTimeout();
        return false;
    }
    m_strPortLpt = typed.port;
    m_nLanguage = typed.language;
    m_uTimeout = timeout;
    const CableValues cable = m_pView->ReadCable();
    m_cable = CableFromNumber(static_cast<uint32_t>(cable.cable)).value_or(m_cable);
    m_bCableChosen = true;
    // An emptied port box keeps the port there was.
    if (cable.serialPort.find_first_not_of(" \t") != std::string::npos)
        m_strPortSerial = cable.serialPort;
    return true;
}

void CConfigLogic::OnCableChanged()
{
    if (m_pView == nullptr)
        return;
    const auto cable = CableFromNumber(static_cast<uint32_t>(m_pView->ReadCable().cable));
    m_pView->ShowSerialPortChoice(cable && IsSerialCable(*cable));
}

void CConfigLogic::OnSaveSettings()
{
    if (UpdateData(true))
        SaveSettings();
}
