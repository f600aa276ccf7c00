#pragma once

#include "gui/pages/ConfigLogic.h"
#include "gui/pages/ConfigView.h"
#include "gui/pages/SheetLogic.h"
#include "gui/qt/QtPropertyPage.h"
#include "settings/QtSettingsStore.h"

// The configuration page's window: the cable box, the parallel or the
// serial port box, the language box, the time-out field and the save button. Its template (IDD_CONFIG) comes from the
// language library. Its logic is also the program's settings holder, and
// reads the settings as soon as the page is built.
class CConfig : public CQtPropertyPage, private IConfigView {
    Q_OBJECT
public:
    static constexpr int IDD = IDD_CONFIG;

    CConfig();

    CConfigLogic& Logic() { return m_logic; }

protected:
    bool OnInitDialog() override;

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

    CQtSettingsStore m_store;
    CConfigLogic m_logic;
};
