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

protected:
    virtual void OnInitDialog() {}
    virtual void OnCommand(int id, int code) { (void)id, (void)code; }
    // True when handled; `result` then goes back to the sender.
    virtual bool OnNotify(const NMHDR& header, LRESULT& result) { (void)header, (void)result; return false; }
    virtual void OnDestroy() {}

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    int m_nTemplateId;
    HWND m_hWnd = nullptr;
};
