#include "gui/win32/Win32TestScript.h"

#include "clip/AviClip.h"
#include "gui/pages/AboutLogic.h"
#include "gui/pages/RemoteFace.h"
#include "gui/pages/SheetLogic.h"
#include "gui/win32/Win32RemoteWindow.h"
#include "gui/win32/Win32Sheet.h"
#include "gui/win32/Win32Text.h"
#include "language/ProgramFolder.h"
#include "screen/PictureBits.h"
#include "sim/VirtualCalculator.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

constexpr UINT TICK_MS = 50;
constexpr DWORD STEP_LIMIT_MS = 20000;
// Controls of the common file dialogs that hold the file name.
constexpr int FILE_NAME_COMBO = 0x47C;
constexpr int FILE_NAME_EDIT = 0x480;

struct Script {
    std::vector<std::string> steps;
    size_t next = 0;
    DWORD stepStart = 0;
    std::vector<std::string> shownTexts;
    FILE* log = nullptr;
    bool failed = false;
    bool finished = false;
    bool inTick = false;
    CVirtualCalculator* calculator = nullptr;
};

Script g_script;

void Log(const std::string& line)
{
    if (g_script.log != nullptr) {
        std::fprintf(g_script.log, "%s\n", line.c_str());
        std::fflush(g_script.log);
    }
}

bool IsFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

HWND ShownPage()
{
    HWND sheet = CWin32Sheet::GetWindow();
    return sheet != nullptr ? reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)) : nullptr;
}

// The system's calling convention, which a lambda cannot take on 32-bit.
BOOL CALLBACK CollectDialog(HWND hWnd, LPARAM list)
{
    wchar_t className[16] = {};
    GetClassNameW(hWnd, className, 16);
    if (IsWindowVisible(hWnd) && lstrcmpW(className, L"#32770") == 0 && hWnd != CWin32Sheet::GetWindow())
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(hWnd);
    return TRUE;
}

std::vector<HWND> DialogWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// The template of the page the sheet shows; 0 while none is.
int ShownTemplate(HWND sheet, HWND page)
{
    const LRESULT index = SendMessageW(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0);
    return index >= 0 && static_cast<size_t>(index) < CSheetLogic::TAB_ORDER.size() ? CSheetLogic::TAB_ORDER[index] : 0;
}

// The number of the control called `name` in template `tmpl`, 0 when the
// template has none of that name (any template, for `tmpl` 0).
int ControlId(const std::string& name, int tmpl)
{
    for (const TemplateControl& control : TEMPLATE_CONTROLS)
        if (name == control.name && (tmpl == 0 || control.tmpl == tmpl))
            return control.id;
    return 0;
}

bool IsFileDialog(HWND dialog)
{
    return GetDlgItem(dialog, FILE_NAME_COMBO) != nullptr || GetDlgItem(dialog, FILE_NAME_EDIT) != nullptr;
}

// The texts of a message box's static controls.
std::string BoxText(HWND box)
{
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        if (lstrcmpiW(className, L"Static") == 0)
            text += WindowText(child);
    }
    return text;
}

// Answers every message box that is up with its first button.
void AnswerMessageBoxes()
{
    for (HWND dialog : DialogWindows()) {
        if (IsFileDialog(dialog) || GetDlgItem(dialog, IDC_INPUT) != nullptr ||
            GetDlgItem(dialog, IDC_REMOTE_FACE) != nullptr)
            continue;
        const std::string text = BoxText(dialog);
        Log("message: " + text);
        g_script.shownTexts.push_back(text);
        const int answer = GetDlgItem(dialog, IDOK) != nullptr ? IDOK : IDYES;
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, answer)));
        // One a tick: it goes before the next is looked at.
        return;
    }
}

int FindRow(HWND list, const std::string& name)
{
    if (list == nullptr)
        return -1;
    const std::wstring text = Utf8ToWide(name);
    LVFINDINFOW find = {};
    find.flags = LVFI_STRING;
    find.psz = text.c_str();
    return static_cast<int>(SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

void SelectRow(HWND list, int row)
{
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

void PressButton(HWND page, int id)
{
    PostMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
}

// Control `name` of the page the sheet shows; null while that page does not
// show or has no such control.
HWND ShownControl(HWND sheet, HWND page, const std::string& name)
{
    const int id = page != nullptr ? ControlId(name, ShownTemplate(sheet, page)) : 0;
    return id != 0 ? GetDlgItem(page, id) : nullptr;
}

// Selects the entry `text` of a list box as a click does, -1 when it has
// none; the page hears of it as of the user's choice.
bool ChooseListBoxEntry(HWND page, int id, const std::string& text)
{
    HWND list = GetDlgItem(page, id);
    const std::wstring wanted = Utf8ToWide(text);
    const LRESULT at = list != nullptr ? SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                      reinterpret_cast<LPARAM>(wanted.c_str()))
                                       : LB_ERR;
    if (at == LB_ERR)
        return false;
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
    PostMessageW(page, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    return true;
}

HWND FileDialog()
{
    for (HWND dialog : DialogWindows())
        if (IsFileDialog(dialog))
            return dialog;
    return nullptr;
}

// The folder and the name a file dialog offers, as one path.
std::string OfferedPath(HWND dialog)
{
    wchar_t folder[MAX_PATH] = {};
    SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    HWND name = GetDlgItem(dialog, FILE_NAME_COMBO) ? GetDlgItem(dialog, FILE_NAME_COMBO)
                                                    : GetDlgItem(dialog, FILE_NAME_EDIT);
    std::string path = Utf16ToUtf8(folder);
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    return path + WindowText(name);
}

// The width of the text of a heading (row -1) or of a cell of a list.
int TextWidthAt(HWND list, int row, int column)
{
    wchar_t text[64] = {};
    if (row < 0) {
        LVCOLUMNW heading{};
        heading.mask = LVCF_TEXT;
        heading.pszText = text;
        heading.cchTextMax = 64;
        SendMessageW(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&heading));
    } else {
        LVITEMW cell{};
        cell.iSubItem = column;
        cell.pszText = text;
        cell.cchTextMax = 64;
        SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&cell));
    }
    return static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
}

// Whether the columns of a report list fit its width, each as wide as its
// heading and its cells need with the margins a list draws around a text
// (and the first column's icons), with no horizontal scroll bar.
bool ColumnsFit(HWND list, std::string& why)
{
    constexpr int MARGINS = 12;
    RECT client{};
    GetClientRect(list, &client);
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = header != nullptr ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    int icon = 0, iconHeight = 0;
    if (auto icons = reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0)))
        ImageList_GetIconSize(icons, &icon, &iconHeight);
    int total = 0;
    for (int column = 0; column < columns; ++column) {
        const int width = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
        total += width;
        int needed = TextWidthAt(list, -1, column);
        for (int row = 0; row < rows; ++row)
            needed = std::max(needed, TextWidthAt(list, row, column) + (column == 0 ? icon : 0));
        if (width < needed + MARGINS)
            why += " column " + std::to_string(column) + " " + std::to_string(width) + " < " +
                   std::to_string(needed + MARGINS);
    }
    if (total > client.right)
        why += " columns " + std::to_string(total) + " > width " + std::to_string(client.right);
    if (GetWindowLongW(list, GWL_STYLE) & WS_HSCROLL)
        why += " horizontal scroll bar";
    return why.empty();
}

// The remote window, once it is up.
CWin32RemoteWindow* ShownRemoteWindow()
{
    CWin32RemoteWindow* remote = CWin32RemoteWindow::GetOpen();
    return remote != nullptr && remote->GetHwnd() != nullptr && IsWindowVisible(remote->GetHwnd()) ? remote : nullptr;
}

// The remote window shows `text` on the calculator's screen, read after
// the keys that put it there.
bool RemoteShows(const std::string& text)
{
    CWin32RemoteWindow* remote = ShownRemoteWindow();
    CVirtualCalculator* calc = g_script.calculator;
    if (remote == nullptr || calc == nullptr || !remote->Logic().GetQueue().empty())
        return false;
    bool typed = false;
    for (const auto& [entry, answer] : calc->Home().GetHistory())
        typed = typed || entry == text || answer == text;
    std::array<uint8_t, SCREEN_BYTES> light;
    const SimScreen& screen = calc->Screen();
    for (size_t i = 0; i < light.size(); ++i)
        light[i] = static_cast<uint8_t>(~screen[i]);
    std::vector<uint8_t> expected;
    return typed && BuildPictureBits(light, CRemoteLogic::SCREEN_ZOOM, expected) && remote->GetShownBits() == expected;
}

// One try at `step`; true when it is done.
bool TryStep(const std::string& step)
{
    std::istringstream in(step);
    std::string verb;
    in >> verb;
    std::string rest;
    std::getline(in >> std::ws, rest);
    // What a box said: also before the sheet is up, or after it.
    if (verb == "expect") {
        for (const std::string& text : g_script.shownTexts)
            if (text.find(rest) != std::string::npos)
                return true;
        return false;
    }
    HWND sheet = CWin32Sheet::GetWindow();
    HWND page = ShownPage();
    if (sheet == nullptr)
        return false;
    if (verb == "page") {
        PostMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(std::stoi(rest)), 0);
        return true;
    }
    if (verb == "click" || verb == "check" || verb == "text") {
        std::istringstream args(rest);
        std::string name;
        args >> name;
        std::string text;
        std::getline(args >> std::ws, text);
        if (ControlId(name, 0) == 0) {
            Log("unknown control: " + step);
            g_script.failed = true;
            return true;
        }
        // None, and the step waits, until the page that has it is shown.
        HWND control = ShownControl(sheet, page, name);
        if (control == nullptr || !IsWindowEnabled(sheet))
            return false;
        if (verb == "text") {
            SetWindowTextW(control, Utf8ToWide(text).c_str());
            return true;
        }
        if (verb == "check")
            SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
        PressButton(page, GetDlgCtrlID(control));
        return true;
    }
    if (verb == "activate" || verb == "select" || verb == "select-folder") {
        HWND list = page != nullptr ? GetDlgItem(page, verb == "select" ? IDC_VAR_LIST : IDC_FOLDER_LIST) : nullptr;
        const int row = FindRow(list, rest);
        if (row < 0)
            return false;
        SelectRow(list, row);
        if (verb == "activate") {
            NMITEMACTIVATE activate = {};
            activate.hdr.hwndFrom = list;
            activate.hdr.idFrom = IDC_FOLDER_LIST;
            activate.hdr.code = LVN_ITEMACTIVATE;
            activate.iItem = row;
            SendMessageW(page, WM_NOTIFY, IDC_FOLDER_LIST, reinterpret_cast<LPARAM>(&activate));
        }
        return true;
    }
    if (verb == "save-as") {
        HWND dialog = FileDialog();
        if (dialog == nullptr)
            return false;
        HWND name = GetDlgItem(dialog, FILE_NAME_COMBO) ? GetDlgItem(dialog, FILE_NAME_COMBO)
                                                        : GetDlgItem(dialog, FILE_NAME_EDIT);
        SetWindowTextW(name, Utf8ToWide(rest).c_str());
        PressButton(dialog, IDOK);
        return true;
    }
    if (verb == "key") {
        // Enter in a control, through the sheet's own message loop as from
        // the keyboard.
        HWND control = ShownControl(sheet, page, rest);
        if (control == nullptr || !IsWindowEnabled(sheet))
            return false;
        SetFocus(control);
        const UINT scan = MapVirtualKeyW(VK_RETURN, 0);
        PostMessageW(control, WM_KEYDOWN, VK_RETURN, 1 | (scan << 16));
        PostMessageW(control, WM_KEYUP, VK_RETURN, 1 | (scan << 16) | 0xC0000000u);
        return true;
    }
    if (verb == "pc-folder" || verb == "pc-file")
        return page != nullptr && ChooseListBoxEntry(page, verb == "pc-file" ? IDC_PC_FILES : IDC_PC_FOLDERS,
                                                     verb == "pc-file" ? rest : "[" + rest + "]");
    if (verb == "pc-path")
        return page != nullptr && WindowText(GetDlgItem(page, IDC_PC_PATH)) == rest;
    if (verb == "answer") {
        for (HWND dialog : DialogWindows()) {
            if (GetDlgItem(dialog, IDC_INPUT) == nullptr)
                continue;
            SetWindowTextW(GetDlgItem(dialog, IDC_INPUT), Utf8ToWide(rest).c_str());
            PressButton(dialog, IDOK);
            return true;
        }
        return false;
    }
    if (verb == "offers" || verb == "cancel-dialog") {
        HWND dialog = FileDialog();
        if (dialog == nullptr)
            return false;
        if (verb == "cancel-dialog") {
            PressButton(dialog, IDCANCEL);
            return true;
        }
        const std::string offered = OfferedPath(dialog);
        if (offered != rest) {
            Log("file dialog offers " + offered);
            g_script.failed = true;
        }
        return true;
    }
    if (verb == "columns-fit") {
        HWND list = ShownControl(sheet, page, rest);
        if (list == nullptr)
            return false;
        std::string why;
        if (!ColumnsFit(list, why)) {
            Log(rest + ":" + why);
            g_script.failed = true;
        }
        return true;
    }
    if (verb == "clip-ground") {
        // The corner of the about clip, its ground, drawn in the colour of
        // the page beside the control once the clip shows.
        HWND control = ShownControl(sheet, page, "IDC_ANIMATION");
        CAviClip clip;
        if (control == nullptr || !IsWindowVisible(control) ||
            !clip.LoadFile(CAboutLogic::GetClipPath(ProgramFolder())))
            return false;
        RECT place = {};
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&place), 2);
        // The control shows the clip in its middle.
        const int left = (place.left + place.right - static_cast<int>(clip.GetWidth())) / 2;
        const int top = (place.top + place.bottom - static_cast<int>(clip.GetHeight())) / 2;
        HDC dc = GetDC(page);
        const COLORREF ground = GetPixel(dc, left + 1, top + 1);
        const COLORREF outside = GetPixel(dc, place.left - 4, top + 1);
        bool drawn = false;
        for (int x = place.left; x < place.right && !drawn; ++x)
            drawn = GetPixel(dc, x, (place.top + place.bottom) / 2) != outside;
        ReleaseDC(page, dc);
        return drawn && ground != CLR_INVALID && ground == outside;
    }
    if (verb == "wait-file" || verb == "pause-for")
        return IsFile(rest);
    if (verb == "remote-key") {
        CWin32RemoteWindow* remote = ShownRemoteWindow();
        const CalcKey* key = FindKeyNamed(rest);
        if (key == nullptr) {
            Log("unknown key: " + step);
            g_script.failed = true;
            return true;
        }
        if (remote == nullptr)
            return false;
        RECT client;
        GetClientRect(remote->GetFace(), &client);
        const FaceFit fit = FaceFit::Into(client.right, client.bottom);
        const LPARAM at = MAKELPARAM(fit.ToPixelX(key->x + key->width / 2), fit.ToPixelY(key->y + key->height / 2));
        PostMessageW(remote->GetFace(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(remote->GetFace(), WM_LBUTTONUP, 0, at);
        return true;
    }
    if (verb == "remote-shows")
        return RemoteShows(rest);
    if (verb == "remote-close") {
        CWin32RemoteWindow* remote = ShownRemoteWindow();
        if (remote == nullptr)
            return false;
        PostMessageW(remote->GetHwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return true;
    }
    if (verb == "close") {
        PostMessageW(sheet, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return true;
    }
    Log("unknown action: " + step);
    g_script.failed = true;
    return true;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    // A tick that comes while an earlier one waits in a nested loop leaves
    // the work to that one.
    if (g_script.inTick || g_script.finished)
        return;
    g_script.inTick = true;
    AnswerMessageBoxes();
    if (g_script.next < g_script.steps.size()) {
        const std::string& step = g_script.steps[g_script.next];
        if (g_script.stepStart == 0)
            g_script.stepStart = GetTickCount();
        if (TryStep(step)) {
            Log("done: " + step);
            ++g_script.next;
            g_script.stepStart = 0;
        } else if (GetTickCount() - g_script.stepStart > STEP_LIMIT_MS) {
            Log("FAILED: " + step);
            g_script.failed = true;
            g_script.next = g_script.steps.size();
            if (HWND sheet = CWin32Sheet::GetWindow())
                PostMessageW(sheet, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    }
    g_script.inTick = false;
}

} // namespace

bool StartTestScript(const std::string& scriptPath)
{
    std::ifstream in(scriptPath);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        if (!line.empty() && line[0] != '#')
            g_script.steps.push_back(line);
    }
    g_script.log = std::fopen((scriptPath + ".log").c_str(), "w");
    return SetTimer(nullptr, 0, TICK_MS, Tick) != 0;
}

void SetTestScriptCalculator(CVirtualCalculator* calculator)
{
    g_script.calculator = calculator;
}

bool TestScriptPassed()
{
    // What the boxes said can be checked once they are gone.
    while (g_script.next < g_script.steps.size() && g_script.steps[g_script.next].rfind("expect ", 0) == 0 &&
           TryStep(g_script.steps[g_script.next])) {
        Log("done: " + g_script.steps[g_script.next]);
        ++g_script.next;
    }
    g_script.finished = true;
    const bool passed = !g_script.failed && g_script.next == g_script.steps.size();
    Log(passed ? "PASSED" : "NOT PASSED");
    if (g_script.log != nullptr)
        std::fclose(g_script.log);
    g_script.log = nullptr;
    return passed;
}
