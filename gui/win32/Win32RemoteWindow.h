#pragma once

#include "gui/pages/RemoteLogic.h"
#include "gui/pages/RemoteView.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class CLink;

// The remote window on Windows: the language library's template IDD_REMOTE
// as a modal dialog over the sheet. Its picture control becomes the drawn
// calculator (painted from the key table, scaled to the control, taking
// clicks and, with the focus, the PC's keys); its labels show the frame rate,
// the keys waiting and what went wrong. What it does is CRemoteLogic's.
class CWin32RemoteWindow final : private IRemoteView {
public:
    CWin32RemoteWindow() = default;
    ~CWin32RemoteWindow() override;

    CWin32RemoteWindow(const CWin32RemoteWindow&) = delete;
    CWin32RemoteWindow& operator=(const CWin32RemoteWindow&) = delete;

    // Runs the window over `owner` on `link` until it is closed; false when
    // the template cannot be made into a window.
    bool Run(HWND owner, CLink& link);

    // The window while one is open, for the test build's script.
    static CWin32RemoteWindow* GetOpen();
    HWND GetHwnd() const { return m_hWnd; }
    HWND GetFace() const { return m_hFace; }
    CRemoteLogic& Logic() { return m_logic; }
    // The screen the face shows: 60-byte rows, set = light.
    const std::vector<uint8_t>& GetShownBits() const { return m_bits; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK FaceProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog(HWND hWnd);
    void OnCloseRequest();
    void PaintFace();
    bool OnFaceKey(WPARAM key);
    bool OnFaceChar(WPARAM character);

    void ShowScreen(const std::vector<uint8_t>& bits, unsigned zoom) override;
    void ShowModifiers(uint16_t modifiers) override;
    void ShowStatus(const std::string& rate, const std::string& queue, const std::string& problem) override;
    void ScheduleTick(uint64_t ms) override;
    void PumpEvents() override;
    bool IsHidden() const override;
    void EndWindow() override;

    CLink* m_pLink = nullptr;
    HWND m_hWnd = nullptr;
    HWND m_hFace = nullptr;
    LRESULT(CALLBACK* m_pFaceProc)(HWND, UINT, WPARAM, LPARAM) = nullptr;
    std::vector<uint8_t> m_bits;
    unsigned m_nZoom = 0;
    uint16_t m_wLatched = 0;
    CRemoteLogic m_logic{*this};
};
