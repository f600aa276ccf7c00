// The backup, restore and wait-for-calculator buttons of the directory page:
// the page asks for the file, the backup and listen operations do the rest;
// the link's progress (the sheet's progress dialog) shows them with Cancel.
#include "gui/pages/DirListLogic.h"

#include "gui/pages/DirListView.h"
#include "text/DisplayText.h"
#include "text/StringIds.h"
#include "transfer/BackupOperation.h"
#include "transfer/ListenOperation.h"
#include "transfer/ReplacingFile.h"

#include <memory>

namespace {

bool IsBackupName(const std::string& name)
{
    return name.size() > 4 && name.compare(name.size() - 4, 4, ".92b") == 0;
}

} // namespace

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
