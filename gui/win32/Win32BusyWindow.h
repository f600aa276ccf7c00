#pragma once

#include <windows.h>

#include <string>

// The small window that stays up while an exchange runs on the window's
// thread: a title, a text, an optional bar and Cancel. While it is up its
// owner is disabled, as under a modal dialog, so no other button starts an
// exchange meanwhile; Pump() serves the window's events.
class CWin32BusyWindow {
public:
    // `withBar`: a progress bar under the text.
    CWin32BusyWindow(HWND owner, const std::string& title, bool withBar);
    ~CWin32BusyWindow();

    CWin32BusyWindow(const CWin32BusyWindow&) = delete;
    CWin32BusyWindow& operator=(const CWin32BusyWindow&) = delete;

    void SetText(const std::string& text);
    // `permille` of the bar filled; below 0 a bar that only shows activity.
    void SetProgress(int permille);
    // Serves pending events; true once Cancel was pressed (or the window
    // closed).
    bool Pump();
    bool IsCancelled() const { return m_bCancelled; }

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hOwner;
    HWND m_hWnd = nullptr;
    HWND m_hText = nullptr;
    HWND m_hBar = nullptr;
    bool m_bOwnerWasEnabled = false;
    bool m_bCancelled = false;
    int m_nPulse = 0;
};
