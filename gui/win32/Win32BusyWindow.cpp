#include "gui/win32/Win32BusyWindow.h"

#include "gui/win32/Win32Messages.h"
#include "gui/win32/Win32Text.h"
#include "text/StringIds.h"

#include <commctrl.h>

namespace {

constexpr wchar_t CLASS_NAME[] = L"Vantrel92Busy";
constexpr int WIDTH = 380;
constexpr int TEXT_HEIGHT = 52;

void RegisterOnce()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = CLASS_NAME;
    registered = RegisterClassW(&windowClass) != 0;
}

HWND Child(HWND parent, const wchar_t* windowClass, const std::wstring& text, DWORD style, int x, int y, int w,
           int h, int id)
{
    HWND child = CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                 nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return child;
}

} // namespace

CWin32BusyWindow::CWin32BusyWindow(HWND owner, const std::string& title, bool withBar) : m_hOwner(owner)
{
    RegisterOnce();
    const int height = TEXT_HEIGHT + (withBar ? 30 : 0) + 70;
    RECT area = {0, 0, WIDTH, height};
    if (owner != nullptr)
        GetWindowRect(owner, &area);
    const int x = (area.left + area.right - WIDTH) / 2;
    const int y = (area.top + area.bottom - height) / 2;
    m_hWnd = CreateWindowExW(WS_EX_DLGMODALFRAME, CLASS_NAME, Utf8ToWide(title).c_str(), WS_POPUP | WS_CAPTION, x, y,
                             WIDTH, height, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (m_hWnd == nullptr)
        return;
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWin32BusyWindow::WindowProc));
    RECT client;
    GetClientRect(m_hWnd, &client);
    const int inner = client.right - 24;
    m_hText = Child(m_hWnd, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 12, 10, inner, TEXT_HEIGHT, -1);
    int y2 = 14 + TEXT_HEIGHT;
    if (withBar) {
        m_hBar = Child(m_hWnd, PROGRESS_CLASSW, L"", 0, 12, y2, inner, 18, -1);
        SendMessageW(m_hBar, PBM_SETRANGE32, 0, 1000);
        y2 += 30;
    }
    Child(m_hWnd, L"BUTTON", Utf8ToWide(MessageText(IDS_PROGRESS_CANCEL, {})), BS_DEFPUSHBUTTON | WS_TABSTOP,
          (client.right - 90) / 2, y2, 90, 26, IDCANCEL);
    if (owner != nullptr) {
        m_bOwnerWasEnabled = !EnableWindow(owner, FALSE);
    }
    ShowWindow(m_hWnd, SW_SHOW);
    UpdateWindow(m_hWnd);
}

CWin32BusyWindow::~CWin32BusyWindow()
{
    // The owner first, so that the system gives it back the focus.
    if (m_hOwner != nullptr && m_bOwnerWasEnabled)
        EnableWindow(m_hOwner, TRUE);
    if (m_hWnd != nullptr)
        DestroyWindow(m_hWnd);
}

void CWin32BusyWindow::SetText(const std::string& text)
{
    if (m_hText != nullptr)
        SetWindowTextW(m_hText, Utf8ToWide(text).c_str());
}

void CWin32BusyWindow::SetProgress(int permille)
{
    if (m_hBar == nullptr)
        return;
    if (permille < 0) {
        // Without an end to measure against, a bar that keeps moving.
        m_nPulse = (m_nPulse + 50) % 1050;
        permille = m_nPulse;
    }
    SendMessageW(m_hBar, PBM_SETPOS, static_cast<WPARAM>(permille), 0);
}

bool CWin32BusyWindow::Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Left for the modal loop that waits for it.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (m_hWnd != nullptr && IsDialogMessageW(m_hWnd, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return m_bCancelled;
}

LRESULT CALLBACK CWin32BusyWindow::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CWin32BusyWindow*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (self != nullptr) {
        if ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE) {
            self->m_bCancelled = true;
            return 0;
        }
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}
