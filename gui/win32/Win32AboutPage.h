#pragma once

#include "gui/win32/Win32Page.h"

// The about page in a Win32 sheet: template 100 of the language library,
// whose animation control plays Vantrel92.avi from the program's folder.
// A missing clip leaves the control empty, without a message.
class CWin32AboutPage final : public CWin32Page {
public:
    static constexpr int IDD = 100;

    CWin32AboutPage() : CWin32Page(IDD) {}

protected:
    void OnInitDialog() override;
};
