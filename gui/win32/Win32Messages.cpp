#include "gui/win32/Win32Messages.h"

#include "gui/win32/Win32Text.h"
#include "language/LanguageLibrary.h"
#include "language/OwnResources.h"
#include "resources/ControlIds.h"
#include "text/StringIds.h"
#include "text/TextFormat.h"

#include <windows.h>

namespace {

std::wstring Caption()
{
    const std::string caption = LoadOwnString(IDS_SHEET_CAPTION);
    return Utf8ToWide(caption.empty() ? std::string("Vantrel 92") : caption);
}

bool IsBlank(const std::string& text)
{
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

int Box(const std::string& text, UINT type)
{
    return MessageBoxW(GetActiveWindow(), Utf8ToWide(text).c_str(), Caption().c_str(), type);
}

struct InputState {
    std::wstring title, prompt, text;
};

INT_PTR CALLBACK InputProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<InputState*>(GetWindowLongPtrW(hWnd, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        state = reinterpret_cast<InputState*>(lParam);
        SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
        // The template has no caption: the caller's title goes in its place.
        SetWindowTextW(hWnd, state->title.c_str());
        SetDlgItemTextW(hWnd, IDC_PROMPT, state->prompt.c_str());
        SetDlgItemTextW(hWnd, IDC_INPUT, state->text.c_str());
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            state->text = Utf8ToWide(WindowText(GetDlgItem(hWnd, IDC_INPUT)));
            EndDialog(hWnd, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(hWnd, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

std::string MessageText(int id, const std::string& arg)
{
    std::string text = LoadLanguageString(id);
    if (IsBlank(text))
        text = LoadOwnString(id);
    if (IsBlank(text))
        return "Vantrel 92: " + std::to_string(id) + (arg.empty() ? "" : "\r\n" + arg);
    return FormatText(text, {arg});
}

void CWin32Messages::ShowMessage(int id, const std::string& arg)
{
    ShowText(MessageText(id, arg));
}

void CWin32Messages::ShowText(const std::string& text)
{
    Box(IsBlank(text) ? std::string("Vantrel 92") : text, MB_OK);
}

bool CWin32Messages::AskYesNo(int id, const std::string& arg)
{
    // Every question asks whether to give up something held (a file, the
    // calculator's memory): a warning, and Enter keeps it.
    return Box(MessageText(id, arg), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

int CWin32Messages::AskText(int titleId, int promptId, std::string& text)
{
    InputState state{Utf8ToWide(OwnOrLanguageString(titleId)), Utf8ToWide(OwnOrLanguageString(promptId)), Utf8ToWide(text)};
    const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_INPUT_STRING),
                                           GetActiveWindow(), InputProc, reinterpret_cast<LPARAM>(&state));
    if (result == IDOK) {
        text = Utf16ToUtf8(state.text);
        return 1;
    }
    return result == IDCANCEL ? 2 : -1;
}
