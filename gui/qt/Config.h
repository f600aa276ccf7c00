#pragma once

#include "gui/pages/ConfigLogic.h"
#include "gui/pages/ConfigView.h"
#include "gui/pages/SheetLogic.h"
#include "gui/qt/QtPropertyPage.h"
#include "settings/QtSettingsStore.h"

// The configuration page's window: the port and language boxes, the
// time-out field and the save button. Its template (IDD_CONFIG) comes from the
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

    CQtSettingsStore m_store;
    CConfigLogic m_logic;
};
