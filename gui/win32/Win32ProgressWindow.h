#pragma once

#include "gui/pages/ProgressLogic.h"
#include "gui/pages/ProgressView.h"

#include <windows.h>

#include <memory>
#include <string>

class CWin32BusyWindow;

// The progress window on Windows: a small window over the sheet with the
// two lines, a bar and Cancel, drawing what its CProgressLogic says.
class CWin32ProgressWindow final : public IProgressView {
public:
    CWin32ProgressWindow();
    ~CWin32ProgressWindow() override;

    CWin32ProgressWindow(const CWin32ProgressWindow&) = delete;
    CWin32ProgressWindow& operator=(const CWin32ProgressWindow&) = delete;

    void SetOwner(HWND owner) { m_hOwner = owner; }
    // What the link reports to.
    CProgressLogic& Logic() { return m_logic; }

    void Open() override;
    void ShowTexts(const std::string& what, const std::string& count) override;
    void ShowBar(int steps) override;
    void ShowBusyBar() override;
    bool PumpEvents() override;
    void Close() override;

private:
    HWND m_hOwner = nullptr;
    std::unique_ptr<CWin32BusyWindow> m_pWindow;
    CProgressLogic m_logic{*this};
};
