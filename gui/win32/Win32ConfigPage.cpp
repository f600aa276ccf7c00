#include "gui/win32/Win32ConfigPage.h"

#include "gui/win32/Win32Text.h"
#include "language/LanguageLibrary.h"

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

// The text in the box, and the item that holds it selected when there is one.
void ShowComboText(HWND combo, const std::string& value)
{
    if (combo == nullptr)
        return;
    const std::wstring text = Utf8ToWide(value);
    const LRESULT at = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    SetWindowTextW(combo, text.c_str());
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
    else if (id == IDC_CABLE && code == CBN_SELCHANGE)
        m_logic.OnCableChanged();
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
    ShowComboText(Item(IDC_PORT), values.port);
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

void CWin32ConfigPage::FillCableChoices(const std::vector<int>& cableNameIds,
                                        const std::vector<std::string>& serialPorts, size_t serialMaxChars)
{
    std::vector<std::string> names;
    for (int id : cableNameIds)
        names.push_back(LoadLanguageString(id));
    FillCombo(Item(IDC_CABLE), names);
    FillCombo(Item(IDC_SERIAL_PORT), serialPorts);
    if (HWND port = Item(IDC_SERIAL_PORT))
        SendMessageW(port, CB_LIMITTEXT, serialMaxChars, 0);
}

void CWin32ConfigPage::ShowCable(const CableValues& values)
{
    if (HWND cable = Item(IDC_CABLE)) {
        const LRESULT count = SendMessageW(cable, CB_GETCOUNT, 0, 0);
        SendMessageW(cable, CB_SETCURSEL, static_cast<WPARAM>(values.cable < count ? values.cable : -1), 0);
    }
    ShowComboText(Item(IDC_SERIAL_PORT), values.serialPort);
}

CableValues CWin32ConfigPage::ReadCable() const
{
    CableValues values;
    if (HWND cable = Item(IDC_CABLE))
        values.cable = static_cast<int>(SendMessageW(cable, CB_GETCURSEL, 0, 0));
    values.serialPort = WindowText(Item(IDC_SERIAL_PORT));
    return values;
}

void CWin32ConfigPage::ShowSerialPortChoice(bool serial)
{
    for (int id : {IDC_STATIC_PORT, IDC_PORT})
        if (HWND control = Item(id))
            ShowWindow(control, serial ? SW_HIDE : SW_SHOW);
    for (int id : {IDC_STATIC_SERIAL_PORT, IDC_SERIAL_PORT})
        if (HWND control = Item(id))
            ShowWindow(control, serial ? SW_SHOW : SW_HIDE);
}
