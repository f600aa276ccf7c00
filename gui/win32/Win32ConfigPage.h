#pragma once

#include "gui/pages/ConfigLogic.h"
#include "gui/pages/ConfigView.h"
#include "gui/win32/Win32Page.h"
#include "resources/ControlIds.h"

class ISettingsStore;
class IUserMessages;

// The configuration page in a Win32 sheet: template IDD_CONFIG of the language
// library with the cable box, the parallel or the serial port box, the
// language box, the time-out field and the save button. The settings holder and what the page does are CConfigLogic's.
class CWin32ConfigPage final : public CWin32Page, private IConfigView {
public:
    static constexpr int IDD = IDD_CONFIG;

    CWin32ConfigPage(ISettingsStore& store, IUserMessages& messages);

    CConfigLogic& Logic() { return m_logic; }

protected:
    void OnInitDialog() override;
    void OnCommand(int id, int code) override;

private:
    void FillChoices(const std::vector<std::string>& ports, const std::vector<std::string>& languages,
                     size_t portMaxChars) override;
    void ShowValues(const ConfigValues& values) override;
    ConfigValues ReadValues() const override;
    void FocusTimeout() override;
    void FillCableChoices(const std::vector<int>& cableNameIds, const std::vector<std::string>& serialPorts,
                          size_t serialMaxChars) override;
    void ShowCable(const CableValues& values) override;
    CableValues ReadCable() const override;
    void ShowSerialPortChoice(bool serial) override;

    CConfigLogic m_logic;
};
