#include "gui/win32/Win32DirListPage.h"

#include "gui/pages/DirListColumns.h"
#include "gui/win32/Win32ListIcons.h"
#include "gui/win32/Win32Text.h"
#include "language/LanguageLibrary.h"
#include "link/VarTypes.h"
#include "text/StringIds.h"
#include "text/SystemPath.h"

#include <commdlg.h>

#include <algorithm>
#include <numeric>

namespace {

// What a report list draws around a text: the margins of a heading, and of
// a cell; the first column's cells also hold their icon.
constexpr int TEXT_PADDING = 12;
constexpr int ICON_WIDTH = 19;
// The window properties by which a list finds its page and its own handler.
constexpr wchar_t PAGE_PROPERTY[] = L"Vantrel92.Page";
constexpr wchar_t HANDLER_PROPERTY[] = L"Vantrel92.Handler";

template <size_t N>
void InsertColumnsInto(HWND list, const ListColumn (&columns)[N])
{
    if (list == nullptr)
        return;
    for (size_t i = 0; i < N; ++i) {
        std::wstring heading = Utf8ToWide(LoadLanguageString(columns[i].headingId));
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = columns[i].align == ColumnAlign::Centre ? LVCFMT_CENTER : LVCFMT_LEFT;
        column.pszText = heading.data();
        column.iSubItem = static_cast<int>(i);
        column.cx = columns[i].minWidth;
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
}

int TextWidth(HWND list, const wchar_t* text)
{
    return static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
}

// Each column as wide as its heading and its cells need, within the list's
// width: what is left goes to the first column (the names), and when even
// the needs do not fit, the first column gives way first, then the widest.
// The list then never scrolls sideways, also while it is empty.
void FitColumns(HWND list, size_t columnCount)
{
    if (list == nullptr || columnCount == 0)
        return;
    std::vector<int> widths(columnCount, 0);
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    wchar_t text[256];
    for (size_t column = 0; column < columnCount; ++column) {
        LVCOLUMNW heading = {};
        heading.mask = LVCF_TEXT;
        heading.pszText = text;
        heading.cchTextMax = static_cast<int>(std::size(text));
        text[0] = L'\0';
        SendMessageW(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&heading));
        int need = TextWidth(list, text);
        for (int row = 0; row < rows; ++row) {
            LVITEMW cell = {};
            cell.iSubItem = static_cast<int>(column);
            cell.pszText = text;
            cell.cchTextMax = static_cast<int>(std::size(text));
            text[0] = L'\0';
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
            need = std::max(need, TextWidth(list, text) + (column == 0 ? ICON_WIDTH : 0));
        }
        widths[column] = need + TEXT_PADDING;
    }
    // The width inside the frame and a vertical scroll bar, if the rows
    // brought one: the columns are fitted again whenever the rows change.
    RECT client = {};
    GetClientRect(list, &client);
    const int room = client.right;
    const int total = std::accumulate(widths.begin(), widths.end(), 0);
    if (total <= room) {
        widths[0] += room - total;
    } else {
        int excess = total - room;
        const int fromFirst = std::min(excess, widths[0] / 2);
        widths[0] -= fromFirst;
        excess -= fromFirst;
        while (excess > 0) {
            auto widest = std::max_element(widths.begin(), widths.end());
            const int step = std::min(excess, std::max(1, *widest / 8));
            *widest -= step;
            excess -= step;
        }
    }
    for (size_t column = 0; column < columnCount; ++column)
        SendMessageW(list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(widths[column], 0));
}

// Inserts `row` at `index`; the new row's index, -1 when refused.
int InsertRow(HWND list, int index, const ListRow& row)
{
    std::wstring text = Utf8ToWide(row.text);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = text.data();
    item.iImage = row.icon;
    const int at = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (at < 0)
        return -1;
    for (size_t cell = 0; cell < row.cells.size(); ++cell) {
        std::wstring cellText = Utf8ToWide(row.cells[cell]);
        LVITEMW sub = {};
        sub.iSubItem = static_cast<int>(cell + 1);
        sub.pszText = cellText.data();
        SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&sub));
    }
    return at;
}

void FillListBox(HWND list, const std::vector<std::string>& entries)
{
    if (list == nullptr)
        return;
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    // The list may sort its entries: each keeps its place in the logic's order.
    for (size_t i = 0; i < entries.size(); ++i) {
        const LRESULT at = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(entries[i]).c_str()));
        if (at >= 0)
            SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(i));
    }
}

int SelectedListBoxRow(HWND list)
{
    if (list == nullptr)
        return -1;
    const LRESULT at = SendMessageW(list, LB_GETCURSEL, 0, 0);
    return at < 0 ? -1 : static_cast<int>(SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(at), 0));
}

} // namespace

CWin32DirListPage::CWin32DirListPage(IUserMessages& messages) : CWin32Page(IDD), m_logic(*this, messages) {}

CWin32DirListPage::~CWin32DirListPage()
{
    if (m_imageList != nullptr)
        ImageList_Destroy(m_imageList);
}

void CWin32DirListPage::OnInitDialog()
{
    for (int id : {IDC_FOLDER_LIST, IDC_VAR_LIST})
        if (HWND list = Item(id))
            SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int id : {IDC_FOLDER_LIST, IDC_VAR_LIST, IDC_PC_FOLDERS, IDC_PC_FILES})
        if (HWND list = Item(id)) {
            SetPropW(list, PAGE_PROPERTY, this);
            SetPropW(list, HANDLER_PROPERTY, reinterpret_cast<HANDLE>(GetWindowLongPtrW(list, GWLP_WNDPROC)));
            SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWin32DirListPage::ListProc));
        }
    InsertColumns();
    LoadIcons();
    m_logic.OnInitDialog();
}

LRESULT CALLBACK CWin32DirListPage::ListProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto handler = reinterpret_cast<WNDPROC>(GetPropW(hWnd, HANDLER_PROPERTY));
    auto* page = static_cast<CWin32DirListPage*>(GetPropW(hWnd, PAGE_PROPERTY));
    switch (message) {
    case WM_GETDLGCODE: {
        // The dialog manager would take Enter for the sheet's default
        // button, which closes the program: the list keeps it.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
            return DLGC_WANTMESSAGE | CallWindowProcW(handler, hWnd, message, wParam, lParam);
        break;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            if (page != nullptr)
                page->OnListEnter(GetDlgCtrlID(hWnd));
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == L'\r')
            return 0;
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(handler));
        RemovePropW(hWnd, PAGE_PROPERTY);
        RemovePropW(hWnd, HANDLER_PROPERTY);
        break;
    default:
        break;
    }
    return CallWindowProcW(handler, hWnd, message, wParam, lParam);
}

void CWin32DirListPage::OnListEnter(int id)
{
    // Each list's own action, as on Linux: the folder list opens the
    // folder, the PC folder list moves into the entry; in the variable list
    // and the PC file list Enter does nothing.
    if (id == IDC_FOLDER_LIST)
        m_logic.OnActivateFolder(GetSelectedFolderRow());
    else if (id == IDC_PC_FOLDERS)
        m_logic.OnSelectPcFolder();
}

void CWin32DirListPage::OnDestroy()
{
    // The image list outlives the list views, which do not own it.
    for (int id : {IDC_FOLDER_LIST, IDC_VAR_LIST})
        if (HWND list = Item(id))
            SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
}

void CWin32DirListPage::InsertColumns()
{
    InsertColumnsInto(Item(IDC_FOLDER_LIST), FOLDER_LIST_COLUMNS);
    InsertColumnsInto(Item(IDC_VAR_LIST), VAR_LIST_COLUMNS);
    FitColumns(Item(IDC_FOLDER_LIST), std::size(FOLDER_LIST_COLUMNS));
    FitColumns(Item(IDC_VAR_LIST), std::size(VAR_LIST_COLUMNS));
}

void CWin32DirListPage::LoadIcons()
{
    m_imageList = CreateListIcons();
    if (m_imageList == nullptr)
        return;
    for (int id : {IDC_FOLDER_LIST, IDC_VAR_LIST})
        if (HWND list = Item(id))
            SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_imageList));
}

void CWin32DirListPage::OnCommand(int id, int code)
{
    if (id == IDC_PC_FOLDERS) {
        if (code == LBN_SELCHANGE && !m_bFillingPcLists)
            m_logic.OnSelectPcFolder();
        return;
    }
    if (code != BN_CLICKED)
        return;
    switch (id) {
    case IDC_SEND: m_logic.OnSend(); break;
    case IDC_DIRECTORY: m_logic.OnRefreshDirectory(); break;
    case IDC_RECEIVE: m_logic.OnReceive(); break;
    case IDC_BACKUP: m_logic.OnBackup(); break;
    case IDC_RESTORE: m_logic.OnRestore(); break;
    case IDC_LISTEN: m_logic.OnListen(); break;
    case IDC_DELETE: m_logic.OnDelete(); break;
    case IDC_NEW_FOLDER: m_logic.OnNewFolder(); break;
    case IDC_RUN: m_logic.OnRun(); break;
    default: break;
    }
}

bool CWin32DirListPage::OnNotify(const NMHDR& header, LRESULT& result)
{
    if (header.idFrom != IDC_FOLDER_LIST || header.code != LVN_ITEMACTIVATE)
        return false;
    m_logic.OnActivateFolder(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
    result = 0;
    return true;
}

void CWin32DirListPage::ClearCalculatorLists()
{
    for (int id : {IDC_FOLDER_LIST, IDC_VAR_LIST})
        if (HWND list = Item(id)) {
            SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
            UpdateWindow(list);
        }
    FitColumns(Item(IDC_FOLDER_LIST), std::size(FOLDER_LIST_COLUMNS));
    FitColumns(Item(IDC_VAR_LIST), std::size(VAR_LIST_COLUMNS));
}

bool CWin32DirListPage::InsertFolderRow(const ListRow& row)
{
    HWND list = Item(IDC_FOLDER_LIST);
    if (list == nullptr || InsertRow(list, 0, row) < 0)
        return false;
    FitColumns(list, std::size(FOLDER_LIST_COLUMNS));
    return true;
}

size_t CWin32DirListPage::ShowVariableRows(const std::vector<ListRow>& rows)
{
    HWND list = Item(IDC_VAR_LIST);
    if (list == nullptr)
        return 0;
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    size_t taken = 0;
    for (const ListRow& row : rows) {
        if (InsertRow(list, static_cast<int>(taken), row) < 0)
            break;
        ++taken;
    }
    FitColumns(list, std::size(VAR_LIST_COLUMNS));
    return taken;
}

int CWin32DirListPage::GetSelectedFolderRow() const
{
    HWND list = Item(IDC_FOLDER_LIST);
    return list == nullptr ? -1 : static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::vector<int> CWin32DirListPage::GetSelectedVariableRows() const
{
    std::vector<int> rows;
    HWND list = Item(IDC_VAR_LIST);
    if (list == nullptr)
        return rows;
    int at = -1;
    while ((at = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(at), LVNI_SELECTED))) >= 0)
        rows.push_back(at);
    return rows;
}

void CWin32DirListPage::ShowPcFolder(const std::string& path, const std::vector<std::string>& folders,
                                     const std::vector<std::string>& files)
{
    m_bFillingPcLists = true;
    if (HWND label = Item(IDC_PC_PATH))
        SetWindowTextW(label, Utf8ToWide(path).c_str());
    FillListBox(Item(IDC_PC_FOLDERS), folders);
    FillListBox(Item(IDC_PC_FILES), files);
    m_bFillingPcLists = false;
}

int CWin32DirListPage::GetSelectedPcFolderRow() const
{
    return SelectedListBoxRow(Item(IDC_PC_FOLDERS));
}

int CWin32DirListPage::GetSelectedPcFileRow() const
{
    return SelectedListBoxRow(Item(IDC_PC_FILES));
}

std::string CWin32DirListPage::AskBackupFile(bool forSaving, const std::string& start)
{
    // The filter: the language's description, then its pattern, each ended
    // by a zero, and an empty one to close the list.
    const std::wstring description = Utf8ToWide(LoadLanguageString(IDS_BACKUP_FILTER));
    std::wstring filter = description + L'\0' + L"*.92b" + L'\0' + L'\0';
    const std::wstring title = Utf8ToWide(LoadLanguageString(forSaving ? IDS_BACKUP_SAVE_TITLE : IDS_RESTORE_OPEN_TITLE));
    // The dialog opens in the folder of `start` with its name offered: the
    // system takes only a folder as the place to open in.
    const std::filesystem::path startPath = SystemPath(start);
    const std::wstring folder = startPath.parent_path().wstring();
    wchar_t name[MAX_PATH] = {};
    startPath.filename().wstring().copy(name, MAX_PATH - 1);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = GetAncestor(GetHwnd(), GA_ROOT);
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = name;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = L"92b";
    // The overwrite question is the program's own, as for received files.
    dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | (forSaving ? OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST);
    const BOOL chosen = forSaving ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    return chosen ? Utf16ToUtf8(name) : std::string();
}
