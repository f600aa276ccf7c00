#pragma once

#include "shell/ConfigLogic.h"
#include "shell/ConfigView.h"
#include "shell/PropertyPage.h"
#include "shell/QtSettingsStore.h"
#include "shell/SheetLogic.h"

// The configuration page's window: the port and language boxes, the
// time-out field and the save button. Its template (107) comes from the
// language library. Its logic is also the program's settings holder, and
// reads the settings as soon as the page is built.
class CConfig : public CPropertyPage, private IConfigView {
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

    CQtSettingsStore m_store;
    CConfigLogic m_logic;
};
