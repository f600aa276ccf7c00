#pragma once

#include "shell/PropertyPage.h"
#include "shell/Settings.h"

#include <cstdint>

// The configuration page and the program's settings holder: the settings
// are read as soon as the page is built, again when its window first shows,
// and written only by its save button. Which library, port and time-out the
// program uses is decided at start-up from what was read then.
class CConfig : public CPropertyPage, public CSettings {
    Q_OBJECT
public:
    static constexpr int IDD = 107;

    CConfig();

    void LoadSettings();
    void SaveSettings();
    // The language library for the stored language (1040, 1033, or 0 when
    // none could be loaded).
    uint16_t LoadLanguageLibrary();

    // Moves the values between the controls and the members; on the way in
    // the time-out is checked, with a message and the focus back on the
    // field when it does not validate.
    bool UpdateData(bool bSaveAndValidate);

    void OnSaveSettings();

protected:
    bool OnInitDialog() override;
};
