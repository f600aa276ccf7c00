#include "gui/win32/Win32Page.h"

namespace {

// A page without controls, for a language library that lacks a template.
struct EmptyTemplate {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
};
alignas(4) const EmptyTemplate EMPTY_TEMPLATE = {
    {WS_CHILD | WS_DISABLED | WS_CAPTION, 0, 0, 0, 0, 200, 100}, 0, 0, 0};

} // namespace

PROPSHEETPAGEW CWin32Page::MakePage(const void* tmpl)
{
    PROPSHEETPAGEW page = {};
    page.dwSize = sizeof(page);
    page.dwFlags = PSP_DLGINDIRECT;
    page.pResource = static_cast<LPCDLGTEMPLATEW>(tmpl != nullptr ? tmpl : &EMPTY_TEMPLATE.header);
    page.pfnDlgProc = &CWin32Page::DialogProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return page;
}

INT_PTR CALLBACK CWin32Page::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* page = reinterpret_cast<CWin32Page*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
        SetWindowLongPtrW(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
        page->m_hWnd = hWnd;
        page->OnInitDialog();
        return TRUE;
    }
    auto* page = reinterpret_cast<CWin32Page*>(GetWindowLongPtrW(hWnd, DWLP_USER));
    if (page == nullptr)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        page->OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (!page->OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result))
            return FALSE;
        SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_DESTROY:
        page->OnDestroy();
        page->m_hWnd = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}
