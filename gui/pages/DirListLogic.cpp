#include "gui/pages/DirListLogic.h"

#include "gui/pages/DirListView.h"
#include "link/CalcNameRules.h"
#include "link/LinkProgress.h"
#include "link/VarTypes.h"
#include "text/DisplayText.h"
#include "text/StringIds.h"
#include "text/UserMessages.h"
#include "transfer/BackupOperation.h"
#include "transfer/ListenOperation.h"
#include "transfer/ReceiveOperation.h"
#include "transfer/RemoteOperation.h"
#include "transfer/ReplacingFile.h"
#include "transfer/SendOperation.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

namespace {

std::string SizeText(uint32_t size)
{
    return std::to_string(size); // "%u"
}

// What stands behind `row` of a list, null when there is no such row.
template <class T>
const T* RowOf(const std::vector<T>& rows, int row)
{
    return row >= 0 && static_cast<size_t>(row) < rows.size() ? &rows[static_cast<size_t>(row)] : nullptr;
}

bool IsBackupName(const std::string& name)
{
    return name.size() > 4 && name.compare(name.size() - 4, 4, ".92b") == 0;
}

} // namespace

CDirListLogic::CDirListLogic(IDirListView& view, IUserMessages& messages) : m_view(view), m_messages(messages)
{
    m_listing.SetFolderRows(this);
}

CDirListLogic::~CDirListLogic()
{
    m_listing.SetFolderRows(nullptr);
    m_listing.Clear();
}

CLink* CDirListLogic::CheckLink()
{
    CLink* link = GetLink();
    if (link == nullptr)
        m_messages.ShowMessage(IDS_PORT_NOT_OPENED);
    return link;
}

void CDirListLogic::OnInitDialog()
{
    ShowPcFolder(CPcFolder::HomeFolder());
}

std::string CDirListLogic::GetTypeExtension(uint8_t type)
{
    return ::GetTypeExtension(type);
}

// ---- calculator side -------------------------------------------------------

void CDirListLogic::OnRefreshDirectory()
{
    CLink* link = CheckLink();
    if (link == nullptr)
        return;
    ClearCalculatorSide();
    if (!ReadDirectory())
        m_messages.ShowMessage(ExchangeFailureMessage(*link, IDS_DIRECTORY_FAILED));
}

void CDirListLogic::ClearCalculatorSide()
{
    m_view.ClearCalculatorLists();
    m_folderRows.clear();
    m_varRows.clear();
    m_listing.Clear();
}

bool CDirListLogic::ReadDirectory()
{
    CLink* link = GetLink();
    if (link == nullptr)
        return false;
    return m_listing.ReadDirectory(*link);
}

bool CDirListLogic::AddFolderEntry(const std::string& name, uint32_t size)
{
    return m_listing.AddFolderEntry(name, size);
}

void CDirListLogic::AddVariableEntry(const VarEntry& entry)
{
    m_listing.AddVariableEntry(entry);
}

bool CDirListLogic::InsertFolderRow(const std::string& name, uint32_t size)
{
    if (!m_view.InsertFolderRow({CalcNameToDisplay(name), ICON_FOLDER, {SizeText(size)}}))
        return false;
    m_folderRows.insert(m_folderRows.begin(), name);
    return true;
}

void CDirListLogic::OnActivateFolder(int row)
{
    if (const std::string* folder = RowOf(m_folderRows, row))
        ShowFolderVariables(*folder);
}

void CDirListLogic::ShowFolderVariables(const std::string& folder)
{
    // Each row goes in ahead of the ones before it, so the list shows the
    // folder's variables in the reverse of their arrival order.
    std::vector<ListRow> rows;
    m_varRows.clear();
    for (auto it = m_listing.m_vars.rbegin(); it != m_listing.m_vars.rend(); ++it) {
        if (it->folder != folder)
            continue;
        rows.push_back({CalcNameToDisplay(it->name), GetTypeIconIndex(it->type),
                        {GetTypeDisplayName(it->type), SizeText(it->size)}});
        m_varRows.push_back(it->name);
    }
    const size_t shown = m_view.ShowVariableRows(rows);
    if (shown < m_varRows.size())
        m_varRows.resize(shown);
}

bool CDirListLogic::GetSelectedFolder(std::string& name) const
{
    const std::string* folder = RowOf(m_folderRows, m_view.GetSelectedFolderRow());
    if (folder == nullptr)
        return false;
    name = *folder;
    return true;
}

std::vector<std::string> CDirListLogic::GetSelectedVariableNames() const
{
    std::vector<std::string> names;
    for (int row : m_view.GetSelectedVariableRows())
        if (const std::string* name = RowOf(m_varRows, row))
            names.push_back(*name);
    return names;
}

// ---- PC side ---------------------------------------------------------------

void CDirListLogic::ShowPcFolder(const std::string& path)
{
    // A folder that cannot be entered or listed leaves everything as it was.
    if (!m_pcFolder.Show(path))
        return;
    std::vector<std::string> folders;
    for (const CPcFolder::Item& entry : m_pcFolder.GetFolders())
        folders.push_back(entry.label);
    std::vector<std::string> files;
    for (const std::string& name : m_pcFolder.GetFiles())
        files.push_back(FileNameToDisplay(name));
    m_view.ShowPcFolder(FileNameToDisplay(m_pcFolder.GetPath()), folders, files);
}

void CDirListLogic::OnSelectPcFolder()
{
    const CPcFolder::Item* entry = RowOf(m_pcFolder.GetFolders(), m_view.GetSelectedPcFolderRow());
    if (entry == nullptr)
        return;
    m_szPath = entry->target;
    ShowPcFolder(m_szPath);
}

void CDirListLogic::RefreshPcFiles()
{
    if (!m_pcFolder.GetPath().empty())
        ShowPcFolder(m_pcFolder.GetPath());
}

std::string CDirListLogic::GetSelectedPcFile() const
{
    const std::string* file = RowOf(m_pcFolder.GetFiles(), m_view.GetSelectedPcFileRow());
    return file != nullptr ? *file : std::string();
}

// The receive and send buttons: the page gathers the selection and the shown
// PC folder, the transfer operations do the rest.

void CDirListLogic::OnReceive()
{
    CLink* link = CheckLink();
    if (link == nullptr)
        return;
    std::string folder;
    const bool hasFolder = GetSelectedFolder(folder);
    const std::vector<std::string> names = GetSelectedVariableNames();
    CReceiveOperation operation(*link, m_messages, m_listing.m_vars);
    if (operation.OnReceive(GetPcFolderPath(), hasFolder ? &folder : nullptr, names))
        RefreshPcFiles();
}

void CDirListLogic::OnSend()
{
    CLink* link = CheckLink();
    if (link == nullptr)
        return;
    m_szPath = GetSelectedPcFile();
    const std::string path = m_szPath.empty() ? std::string() : JoinFolderPath(GetPcFolderPath(), m_szPath);
    CSendOperation(*link, m_messages).SendFile(path);
}

// The backup, restore and wait-for-calculator buttons: the page asks for the
// file, the backup and listen operations do the rest; the link's progress
// window shows them with Cancel.

std::string CDirListLogic::ChooseBackupFile(bool forSaving)
{
    // Where the PC side is, and the file selected there when it is a backup.
    const std::string selected = GetSelectedPcFile();
    const std::string name = forSaving ? CListenOperation::BACKUP_FILE_NAME
                                       : (IsBackupName(selected) ? selected : std::string());
    return m_view.AskBackupFile(forSaving, JoinFolderPath(GetPcFolderPath(), name));
}

void CDirListLogic::OnBackup()
{
    CLink* link = CheckLink();
    if (link == nullptr)
        return;
    const std::string path = ChooseBackupFile(true);
    if (!path.empty() && CBackupOperation(*link, m_messages).Backup(path))
        RefreshPcFiles();
}

void CDirListLogic::OnRestore()
{
    CLink* link = CheckLink();
    if (link == nullptr)
        return;
    const std::string path = ChooseBackupFile(false);
    if (!path.empty())
        CBackupOperation(*link, m_messages).Restore(path, false);
}

void CDirListLogic::OnListen()
{
    CLink* link = CheckLink();
    if (link == nullptr)
        return;
    CListenOperation listen(*link, m_messages);
    // What came shows in the PC list while the wait goes on.
    listen.SetSavedHook([this](const std::string&) { RefreshPcFiles(); });
    // A simulated calculator may send by itself now, as a user would.
    if (m_pSheet != nullptr)
        m_pSheet->BeforeListening();
    listen.Listen(GetPcFolderPath(), false);
}

// Delete, new folder and run: the remote operation presses the keys and
// reads the directory again; the page shows what it read.

void CDirListLogic::SetKeyClock(IClock& clock, CKeySender::SleepFunction sleep)
{
    m_pKeyClock = &clock;
    m_keySleep = std::move(sleep);
}

void CDirListLogic::PressKeys(CLink& link, const std::string& folder,
                              const std::function<void(CRemoteOperation&)>& operate)
{
    CRemoteOperation operation(link, m_messages);
    if (m_pKeyClock != nullptr)
        operation.SetClock(*m_pKeyClock, m_keySleep);
    operate(operation);
    if (operation.HasListing())
        ShowListing(operation.GetListing(), folder);
}

void CDirListLogic::ShowListing(const CDirectoryListing& listing, const std::string& folder)
{
    ClearCalculatorSide();
    for (const FolderEntry& entry : listing.m_folders)
        AddFolderEntry(entry.name, entry.size);
    for (const VarEntry& entry : listing.m_vars)
        AddVariableEntry(entry);
    ShowFolderVariables(folder);
}

void CDirListLogic::OnDelete()
{
    CLink* link = CheckLink();
    if (link == nullptr)
        return;
    std::string folder;
    const bool hasFolder = GetSelectedFolder(folder);
    std::vector<VariableRef> variables;
    for (const std::string& name : GetSelectedVariableNames())
        variables.push_back({folder, name});
    if (!hasFolder || variables.empty()) {
        m_messages.ShowMessage(IDS_NO_VAR_TO_DELETE);
        return;
    }
    PressKeys(*link, folder, [&](CRemoteOperation& operation) { operation.Delete(variables, false); });
}

void CDirListLogic::OnNewFolder()
{
    CLink* link = CheckLink();
    if (link == nullptr)
        return;
    std::string name;
    if (m_messages.AskText(IDS_NEW_FOLDER_TITLE, IDS_NEW_FOLDER_PROMPT, name) != 1)
        return;
    PressKeys(*link, LowerCaseCalcName(name), [&](CRemoteOperation& operation) { operation.MakeFolder(name); });
}

void CDirListLogic::OnRun()
{
    CLink* link = CheckLink();
    if (link == nullptr)
        return;
    std::string folder;
    const std::vector<std::string> names = GetSelectedVariableNames();
    const bool hasFolder = GetSelectedFolder(folder);
    const auto isProgram = [&](const VarEntry& entry) {
        return entry.folder == folder && !names.empty() && entry.name == names.front() &&
               (entry.type == VAR_PRG || entry.type == VAR_FUNC);
    };
    if (!hasFolder || names.size() != 1 || std::none_of(m_listing.m_vars.begin(), m_listing.m_vars.end(), isProgram)) {
        m_messages.ShowMessage(IDS_NO_PROGRAM_SELECTED);
        return;
    }
    std::string arguments;
    if (m_messages.AskText(IDS_RUN_TITLE, IDS_RUN_PROMPT, arguments) != 1)
        return;
    PressKeys(*link, folder, [&](CRemoteOperation& operation) { operation.Run({folder, names.front()}, arguments); });
}
