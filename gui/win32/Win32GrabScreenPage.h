#pragma once

#include "gui/pages/GrabScreenLogic.h"
#include "gui/pages/GrabScreenView.h"
#include "gui/win32/Win32Page.h"
#include "resources/ControlIds.h"
#include "screen/MonoPictureWriter.h"

class IUserMessages;

// The screen page in a Win32 sheet: template IDD_GRABSCREEN of the language
// library, the picture control showing a monochrome bitmap at single or
// double size, the zoom check box and the common Save As dialog. What the
// page does is CGrabScreenLogic's; pictures are written by the program's own
// encoders.
class CWin32GrabScreenPage final : public CWin32Page, private IGrabScreenView {
public:
    static constexpr int IDD = IDD_GRABSCREEN;

    explicit CWin32GrabScreenPage(IUserMessages& messages);
    ~CWin32GrabScreenPage() override;

    CGrabScreenLogic& Logic() { return m_logic; }

protected:
    void OnInitDialog() override;
    void OnCommand(int id, int code) override;

private:
    bool ShowPicture(const std::vector<uint8_t>& bits, unsigned zoom) override;
    bool IsZoomChecked() const override;
    void ShowBusy(bool busy) override;
    std::string AskPicturePath() override;
    bool ShowRemoteWindow(CLink& link) override;

    CMonoPictureWriter m_writer;
    CGrabScreenLogic m_logic;
    HBITMAP m_bitmap = nullptr;
    HCURSOR m_hOldCursor = nullptr;
};
