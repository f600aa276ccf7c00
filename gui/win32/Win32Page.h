#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

// One page of the Win32 sheet: a dialog made from a template of the language
// library, whose messages reach the virtual handlers below. A page whose
// template the library lacks is made from an empty one: it shows nothing but
// the program stays usable. Handlers find their controls by id; a control
// the template lacks is simply not there.
class CWin32Page {
public:
    explicit CWin32Page(int templateId) : m_nTemplateId(templateId) {}
    virtual ~CWin32Page() = default;

    CWin32Page(const CWin32Page&) = delete;
    CWin32Page& operator=(const CWin32Page&) = delete;

    int GetTemplateId() const { return m_nTemplateId; }
    // The sheet's page record for `tmpl` (a template of the language
    // library, or null for none).
    PROPSHEETPAGEW MakePage(const void* tmpl);
    HWND GetHwnd() const { return m_hWnd; }
    HWND Item(int id) const { return m_hWnd != nullptr ? GetDlgItem(m_hWnd, id) : nullptr; }
    // Where control `id` lies on the page, in pixels; empty when it is not
    // there.
    RECT ItemRect(int id) const;

protected:
    virtual void OnInitDialog() {}
    virtual void OnCommand(int id, int code) { (void)id, (void)code; }
    // True when handled; `result` then goes back to the sender.
    virtual bool OnNotify(const NMHDR& header, LRESULT& result) { (void)header, (void)result; return false; }
    virtual void OnDestroy() {}
    // WM_CTLCOLORSTATIC from control `id`: the brush it paints its ground
    // with, null for the system's.
    virtual HBRUSH OnControlColour(int id, HDC hDC) { (void)id, (void)hDC; return nullptr; }
    // A message the page posted itself (WM_APP and up): true when handled.
    virtual bool OnOwnMessage(UINT message) { (void)message; return false; }

    // Makes control `id` hold a picture of `width` x `height` pixels
    // whole, inside its frame, centred where the template put it: dialog
    // units follow the font, the picture does not. Its new place, empty
    // when it is not there.
    RECT FitItemToPicture(int id, int width, int height);

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    int m_nTemplateId;
    HWND m_hWnd = nullptr;
};
