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
    ~CWin32AboutPage() override;

protected:
    void OnInitDialog() override;
    bool OnOwnMessage(UINT message) override;
    HBRUSH OnControlColour(int id, HDC hDC) override;

private:
    // The page's ground where the clip lies, for the clip's own ground.
    HBRUSH m_hClipGround = nullptr;
};
