// The backup, restore and wait-for-calculator buttons of the directory page:
// the page asks for the file and keeps a window up with Cancel, the backup
// and listen operations do the rest.
#include "link/DirList.h"

#include "shell/LanguageLibrary.h"
#include "shell/MessageBoxes.h"
#include "shell/StringIds.h"
#include "transfer/BackupOperation.h"
#include "transfer/ListenOperation.h"
#include "transfer/ReplacingFile.h"
#include "transfer/WaitDialog.h"

#include <QFile>
#include <QFileDialog>

namespace {

QString ToQString(const std::string& path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string FromQString(const QString& path)
{
    const QByteArray raw = QFile::encodeName(path);
    return std::string(raw.constData(), static_cast<size_t>(raw.size()));
}

QString BackupFilter()
{
    return QString::fromStdString(LoadLanguageString(IDS_BACKUP_FILTER));
}

} // namespace

std::string CDirList::ChooseBackupFile(bool forSaving)
{
    if (m_chooseBackupFile)
        return m_chooseBackupFile(forSaving);
    // Where the PC side is, and the file selected there when it is a backup.
    const std::string selected = GetSelectedPcFile();
    const bool isBackup = selected.size() > 4 && selected.compare(selected.size() - 4, 4, ".92b") == 0;
    const std::string start =
        JoinFolderPath(GetPcFolderPath(), forSaving ? ListenBackupName() : (isBackup ? selected : std::string()));
    const QString title = QString::fromStdString(LoadLanguageString(forSaving ? IDS_BACKUP_SAVE_TITLE
                                                                              : IDS_RESTORE_OPEN_TITLE));
    // The overwrite question is the program's own, as for received files.
    const QString chosen =
        forSaving ? QFileDialog::getSaveFileName(this, title, ToQString(start), BackupFilter(), nullptr,
                                                 QFileDialog::DontConfirmOverwrite)
                  : QFileDialog::getOpenFileName(this, title, ToQString(start), BackupFilter());
    return FromQString(chosen);
}

std::string CDirList::ListenBackupName()
{
    return CListenOperation::kBackupFileName;
}

void CDirList::OnBackup()
{
    const std::string path = ChooseBackupFile(true);
    if (path.empty())
        return;
    CWaitDialog wait(this, LoadLanguageString(IDS_BACKUP_SAVE_TITLE), path);
    if (CBackupOperation(*GetLink(), UserMessages(), wait.MakeCancelCheck()).Backup(path))
        RefreshPcFiles();
}

void CDirList::OnRestore()
{
    const std::string path = ChooseBackupFile(false);
    if (path.empty())
        return;
    CWaitDialog wait(this, LoadLanguageString(IDS_RESTORE_OPEN_TITLE), path);
    CBackupOperation(*GetLink(), UserMessages(), wait.MakeCancelCheck()).Restore(path, false);
}

void CDirList::OnListen()
{
    const std::string waiting = LoadLanguageString(IDS_LISTEN_WAITING);
    CWaitDialog wait(this, LoadLanguageString(IDS_LISTEN_TITLE), waiting);
    CListenOperation listen(*GetLink(), UserMessages(), wait.MakeCancelCheck());
    // What came so far stays in the window while it waits for more.
    std::string received;
    listen.SetSavedHook([&](const std::string& path) {
        received += '\n';
        received += FormatLanguageMessage(IDS_LISTEN_SAVED, path);
        wait.SetText(waiting + received);
        RefreshPcFiles();
    });
    listen.Listen(GetPcFolderPath(), false);
}
