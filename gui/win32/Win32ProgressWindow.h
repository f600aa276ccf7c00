#pragma once

#include "link/LinkProgress.h"

#include <windows.h>

#include <memory>
#include <string>

class CWin32BusyWindow;

// A long exchange as the Win32 window shows it: after half a second a small
// window says what is being done and how many bytes have moved, with a bar
// and Cancel, until the exchange ends.
class CWin32ProgressWindow final : public ILinkProgress {
public:
    CWin32ProgressWindow();
    ~CWin32ProgressWindow() override;

    void SetOwner(HWND owner) { m_hOwner = owner; }

    void ExchangeStarted(int textId, const std::string& arg, uint64_t expectedBytes) override;
    void BytesMoved(uint64_t bytesDone) override;
    bool IsCancelRequested() override;
    void ExchangeEnded() override;

private:
    void Update();

    HWND m_hOwner = nullptr;
    std::unique_ptr<CWin32BusyWindow> m_pWindow;
    std::string m_strWhat;
    uint64_t m_nExpected = 0;
    uint64_t m_nDone = 0;
    DWORD m_nStartMs = 0;
    DWORD m_nLastUpdateMs = 0;
    bool m_bActive = false;
};
