#include "gui/win32/Win32ConfigPage.h"

#include "gui/win32/Win32Text.h"

namespace {

void FillCombo(HWND combo, const std::vector<std::string>& items)
{
    if (combo == nullptr)
        return;
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < items.size(); ++i) {
        SendMessageW(combo, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(Utf8ToWide(items[i]).c_str()));
        SendMessageW(combo, CB_SETITEMDATA, i, static_cast<LPARAM>(i));
    }
}

} // namespace

CWin32ConfigPage::CWin32ConfigPage(ISettingsStore& store, IUserMessages& messages)
    : CWin32Page(IDD), m_logic(store, messages)
{
    m_logic.SetView(this);
}

void CWin32ConfigPage::OnInitDialog()
{
    m_logic.OnInitDialog();
}

void CWin32ConfigPage::OnCommand(int id, int code)
{
    if (id == IDC_SAVE_SETTINGS && code == BN_CLICKED)
        m_logic.OnSaveSettings();
}

void CWin32ConfigPage::FillChoices(const std::vector<std::string>& ports, const std::vector<std::string>& languages,
                                   size_t portMaxChars)
{
    FillCombo(Item(IDC_PORT), ports);
    if (HWND port = Item(IDC_PORT))
        SendMessageW(port, CB_LIMITTEXT, portMaxChars, 0);
    FillCombo(Item(IDC_LANGUAGE), languages);
}

void CWin32ConfigPage::ShowValues(const ConfigValues& values)
{
    if (HWND port = Item(IDC_PORT)) {
        const std::wstring text = Utf8ToWide(values.port);
        const LRESULT at = SendMessageW(port, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageW(port, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
        SetWindowTextW(port, text.c_str());
    }
    if (HWND language = Item(IDC_LANGUAGE)) {
        const LRESULT count = SendMessageW(language, CB_GETCOUNT, 0, 0);
        const int index = values.language >= 0 && values.language < count ? values.language : -1;
        SendMessageW(language, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    if (HWND timeout = Item(IDC_TIMEOUT))
        SetWindowTextW(timeout, Utf8ToWide(values.timeout).c_str());
}

ConfigValues CWin32ConfigPage::ReadValues() const
{
    ConfigValues values;
    values.port = WindowText(Item(IDC_PORT));
    if (HWND language = Item(IDC_LANGUAGE))
        values.language = static_cast<int>(SendMessageW(language, CB_GETCURSEL, 0, 0));
    values.timeout = WindowText(Item(IDC_TIMEOUT));
    return values;
}

void CWin32ConfigPage::FocusTimeout()
{
    if (HWND timeout = Item(IDC_TIMEOUT)) {
        SendMessageW(GetHwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(timeout), TRUE);
        SendMessageW(timeout, EM_SETSEL, 0, -1);
    }
}
