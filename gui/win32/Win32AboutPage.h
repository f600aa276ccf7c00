#pragma once

#include "gui/win32/Win32Page.h"
#include "resources/ControlIds.h"

// The about page in a Win32 sheet: template IDD_ABOUT of the language
// library, whose animation control plays Vantrel92.avi from the program's
// folder.
// A missing clip leaves the control empty, without a message.
class CWin32AboutPage final : public CWin32Page {
public:
    static constexpr int IDD = IDD_ABOUT;

    CWin32AboutPage() : CWin32Page(IDD) {}

protected:
    void OnInitDialog() override;
};
