// The backup, restore and wait-for-calculator buttons of the directory page:
// the page asks for the file, the backup and listen operations do the rest;
// the sheet's progress dialog shows them with Cancel.
#include "link/DirList.h"

#include "shell/LanguageLibrary.h"
#include "shell/MessageBoxes.h"
#include "shell/StringIds.h"
#include "transfer/BackupOperation.h"
#include "transfer/ListenOperation.h"
#include "transfer/ReplacingFile.h"

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
    if (!path.empty() && CBackupOperation(*GetLink(), UserMessages()).Backup(path))
        RefreshPcFiles();
}

void CDirList::OnRestore()
{
    const std::string path = ChooseBackupFile(false);
    if (!path.empty())
        CBackupOperation(*GetLink(), UserMessages()).Restore(path, false);
}

void CDirList::OnListen()
{
    CListenOperation listen(*GetLink(), UserMessages());
    // What came shows in the PC list while the wait goes on.
    listen.SetSavedHook([this](const std::string&) { RefreshPcFiles(); });
    listen.Listen(GetPcFolderPath(), false);
}
