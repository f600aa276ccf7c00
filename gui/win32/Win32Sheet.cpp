#include "gui/win32/Win32Sheet.h"

#include "gui/win32/Win32Text.h"
#include "language/LanguageLibrary.h"
#include "language/OwnResources.h"
#include "text/StringIds.h"

#include <vector>

namespace {

constexpr int IDI_SHEET = 144;
// A close that came during an exchange waits for it to stop, looking again
// this often.
constexpr UINT_PTR CLOSE_TIMER = 1;
constexpr UINT CLOSE_POLL_MS = 50;

// The one sheet of the program, for the system's callback, which has no
// room for a pointer of its own.
CWin32Sheet* g_pSheet = nullptr;

} // namespace

CWin32Sheet::CWin32Sheet(ISettingsStore& store, IUserMessages& messages)
    : m_pageDirList(messages), m_pageConfig(store, messages), m_pageGrabScreen(messages),
      m_logic(m_pageConfig.Logic(), m_languages, messages)
{
    m_logic.SetLinkPages(&m_pageDirList.Logic(), &m_pageGrabScreen.Logic());
    m_logic.SetLinkProgress(&m_progress.Logic());
    m_logic.LoadLanguage();
}

CWin32Sheet::~CWin32Sheet() = default;

HWND CWin32Sheet::GetWindow()
{
    return g_pSheet != nullptr ? g_pSheet->m_hWnd : nullptr;
}

CWin32Page& CWin32Sheet::PageFor(int templateId)
{
    switch (templateId) {
    case IDD_DIRLIST: return m_pageDirList;
    case IDD_CONFIG: return m_pageConfig;
    case IDD_ABOUT: return m_pageAbout;
    default: return m_pageGrabScreen;
    }
}

void CWin32Sheet::DoModal()
{
    if (!IsLanguageLoaded())
        return;
    std::vector<PROPSHEETPAGEW> pages;
    for (int templateId : CSheetLogic::TAB_ORDER)
        pages.push_back(PageFor(templateId).MakePage(LoadLanguageResource(templateId, RT_DIALOG)));
    const std::wstring caption = Utf8ToWide(LoadOwnString(IDS_SHEET_CAPTION));

    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof(header);
    // No Apply and no Help button; the icon from the program's resources.
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USEICONID | PSH_USECALLBACK;
    header.hInstance = GetModuleHandleW(nullptr);
    header.pszIcon = MAKEINTRESOURCEW(IDI_SHEET);
    header.pszCaption = caption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = 0;
    header.ppsp = pages.data();
    header.pfnCallback = &CWin32Sheet::SheetCallback;

    g_pSheet = this;
    PropertySheetW(&header);
    // The window is gone: the port closes.
    m_logic.OnDestroy();
    m_progress.SetOwner(nullptr);
    m_hWnd = nullptr;
    g_pSheet = nullptr;
}

int CALLBACK CWin32Sheet::SheetCallback(HWND hWnd, UINT message, LPARAM)
{
    if (message == PSCB_INITIALIZED && g_pSheet != nullptr) {
        g_pSheet->OnCreate(hWnd);
        g_pSheet->OnInitDialog();
    }
    return 0;
}

bool CWin32Sheet::IsEnding()
{
    return g_pSheet != nullptr && g_pSheet->m_logic.IsEndRequested();
}

LRESULT CALLBACK CWin32Sheet::SheetProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CSheetLogic& logic = g_pSheet->m_logic;
    switch (message) {
    case WM_QUERYENDSESSION:
        // The session may end once this returns: the exchange stops now.
        logic.RequestEnd();
        break;
    case WM_ENDSESSION:
        if (wParam != FALSE)
            logic.RequestEnd();
        break;
    case WM_CLOSE:
        // Closed from outside while an exchange runs (the sheet is disabled
        // under the progress window then): it stops at its next byte, which
        // removes its temporary file, and the window closes after it.
        if (logic.IsExchangeUnderWay()) {
            logic.RequestEnd();
            SetTimer(hWnd, CLOSE_TIMER, CLOSE_POLL_MS, nullptr);
            return 0;
        }
        break;
    case WM_TIMER:
        if (wParam == CLOSE_TIMER) {
            if (!logic.IsExchangeUnderWay()) {
                KillTimer(hWnd, CLOSE_TIMER);
                PostMessageW(hWnd, WM_CLOSE, 0, 0);
            }
            return 0;
        }
        break;
    default:
        break;
    }
    return CallWindowProcW(g_pSheet->m_pSheetProc, hWnd, message, wParam, lParam);
}

void CWin32Sheet::OnCreate(HWND hWnd)
{
    m_hWnd = hWnd;
    m_pSheetProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWin32Sheet::SheetProc)));
    m_progress.SetOwner(hWnd);
    m_logic.OnCreate();
}

void CWin32Sheet::OnInitDialog()
{
    // One button, "Chiudi", centred under the pages.
    HWND close = GetDlgItem(m_hWnd, IDOK);
    if (close != nullptr) {
        SetWindowTextA(close, TEXT_CLOSE_BUTTON);
        RECT sheet, button;
        GetWindowRect(m_hWnd, &sheet);
        GetWindowRect(close, &button);
        MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&button), 2);
        const int width = button.right - button.left;
        SetWindowPos(close, nullptr, ((sheet.right - sheet.left) - width) / 2, button.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);
    }
    if (HWND cancel = GetDlgItem(m_hWnd, IDCANCEL))
        DestroyWindow(cancel);
}
