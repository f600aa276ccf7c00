#include "gui/win32/Win32Page.h"

#include <algorithm>

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

RECT CWin32Page::ItemRect(int id) const
{
    RECT rect = {};
    if (HWND control = Item(id)) {
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

RECT CWin32Page::FitItemToPicture(int id, int width, int height)
{
    HWND control = Item(id);
    if (control == nullptr)
        return {};
    const RECT outer = ItemRect(id);
    RECT inner = {};
    GetClientRect(control, &inner);
    const int outerWidth = width + (outer.right - outer.left) - inner.right;
    const int outerHeight = height + (outer.bottom - outer.top) - inner.bottom;
    const int left = (outer.left + outer.right - outerWidth) / 2;
    const int top = std::max(0L, (outer.top + outer.bottom - outerHeight) / 2);
    SetWindowPos(control, nullptr, left, top, outerWidth, outerHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    return ItemRect(id);
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
    case WM_CTLCOLORSTATIC:
        if (HBRUSH brush = page->OnControlColour(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)),
                                                 reinterpret_cast<HDC>(wParam)))
            return reinterpret_cast<INT_PTR>(brush);
        return FALSE;
    case WM_DESTROY:
        page->OnDestroy();
        page->m_hWnd = nullptr;
        return FALSE;
    default:
        return message >= WM_APP && message <= 0xBFFF && page->OnOwnMessage(message) ? TRUE : FALSE;
    }
}
