// The backup, restore and wait-for-calculator buttons of the directory page:
// the page asks for the file and keeps a wait window up with Cancel, the
// backup and listen operations do the rest.
#include "link/DirListLogic.h"

#include "link/DirListView.h"
#include "link/DisplayText.h"
#include "link/WaitWindow.h"
#include "shell/StringIds.h"
#include "transfer/BackupOperation.h"
#include "transfer/ListenOperation.h"
#include "transfer/ReplacingFile.h"

#include <memory>

namespace {

bool IsBackupName(const std::string& name)
{
    return name.size() > 4 && name.compare(name.size() - 4, 4, ".92b") == 0;
}

CancelCheck CancelledBy(IWaitWindow* wait)
{
    return [wait] { return wait != nullptr && wait->IsCancelled(); };
}

} // namespace

std::string CDirListLogic::ChooseBackupFile(bool forSaving)
{
    // Where the PC side is, and the file selected there when it is a backup.
    const std::string selected = GetSelectedPcFile();
    const std::string name = forSaving ? CListenOperation::kBackupFileName
                                       : (IsBackupName(selected) ? selected : std::string());
    return m_view.AskBackupFile(forSaving, JoinFolderPath(GetPcFolderPath(), name));
}

void CDirListLogic::OnBackup()
{
    CLink* link = CheckLink();
    if (link == nullptr)
        return;
    const std::string path = ChooseBackupFile(true);
    if (path.empty())
        return;
    const std::unique_ptr<IWaitWindow> wait = m_view.OpenWaitWindow(IDS_BACKUP_SAVE_TITLE, 0, FileNameToDisplay(path));
    if (CBackupOperation(*link, m_messages, CancelledBy(wait.get())).Backup(path))
        RefreshPcFiles();
}

void CDirListLogic::OnRestore()
{
    CLink* link = CheckLink();
    if (link == nullptr)
        return;
    const std::string path = ChooseBackupFile(false);
    if (path.empty())
        return;
    const std::unique_ptr<IWaitWindow> wait = m_view.OpenWaitWindow(IDS_RESTORE_OPEN_TITLE, 0, FileNameToDisplay(path));
    CBackupOperation(*link, m_messages, CancelledBy(wait.get())).Restore(path, false);
}

void CDirListLogic::OnListen()
{
    CLink* link = CheckLink();
    if (link == nullptr)
        return;
    const std::unique_ptr<IWaitWindow> wait = m_view.OpenWaitWindow(IDS_LISTEN_TITLE, IDS_LISTEN_WAITING, {});
    CListenOperation listen(*link, m_messages, CancelledBy(wait.get()));
    // What came so far stays in the window while it waits for more.
    listen.SetSavedHook([&](const std::string& path) {
        if (wait != nullptr)
            wait->AddLine(IDS_LISTEN_SAVED, FileNameToDisplay(path));
        RefreshPcFiles();
    });
    listen.Listen(GetPcFolderPath(), false);
}
