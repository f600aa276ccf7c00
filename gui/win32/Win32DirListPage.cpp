#include "gui/win32/Win32DirListPage.h"

#include "gui/pages/DirListColumns.h"
#include "gui/win32/Win32ListIcons.h"
#include "gui/win32/Win32Text.h"
#include "language/LanguageLibrary.h"
#include "link/VarTypes.h"
#include "text/StringIds.h"

#include <commdlg.h>

namespace {

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
        // At least its usual width; wider when the heading needs it.
        const int needed = static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0,
                                                         reinterpret_cast<LPARAM>(heading.c_str()))) + 16;
        column.cx = std::max(columns[i].minWidth, needed);
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
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
    InsertColumns();
    LoadIcons();
    m_logic.OnInitDialog();
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
}

bool CWin32DirListPage::InsertFolderRow(const ListRow& row)
{
    HWND list = Item(IDC_FOLDER_LIST);
    return list != nullptr && InsertRow(list, 0, row) >= 0;
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
    const std::wstring folder = Utf8ToWide(start);
    wchar_t name[MAX_PATH] = {};
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
