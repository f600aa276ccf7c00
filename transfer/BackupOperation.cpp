#include "transfer/BackupOperation.h"

#include "shell/ProgramTexts.h"
#include "shell/StringIds.h"
#include "shell/UserMessages.h"
#include "transfer/BackupExchange.h"
#include "transfer/BackupFile.h"
#include "transfer/ReplacingFile.h"

bool CBackupOperation::Backup(const std::string& path)
{
    m_lastResult = ExchangeResult::Done;
    // Made before the exchange, so that a folder that cannot take the file
    // is found out before the calculator is kept busy.
    CReplacingFile file;
    if (!CreateAfterAsking(file, m_messages, path))
        return false;

    BackupImage image;
    m_lastResult = CBackupExchange(m_link, m_cancelled).Backup(image);
    switch (m_lastResult) {
    case ExchangeResult::Done:
        break;
    case ExchangeResult::NotAnswered:
        m_messages.ShowMessage(IDS_NOT_READY);
        return false;
    case ExchangeResult::Refused:
        m_messages.ShowMessage(IDS_BACKUP_REFUSED);
        return false;
    case ExchangeResult::Failed:
        m_messages.ShowMessage(IDS_BACKUP_FAILED);
        return false;
    case ExchangeResult::Cancelled:
        return false;
    }
    std::string error;
    if (!file.Commit(BuildBackupFile(image), error)) {
        m_messages.ShowText(ProgramText(IDS_FILE_NOT_WRITTEN) + error);
        return false;
    }
    m_messages.ShowMessage(IDS_BACKUP_SAVED, path);
    return true;
}

bool CBackupOperation::Restore(const std::string& path, bool confirmed)
{
    m_lastResult = ExchangeResult::Done;
    BackupImage image;
    const BackupFileCheck check = LoadBackupFile(path, image);
    if (check != BackupFileCheck::Ok) {
        m_messages.ShowMessage(BackupCheckMessage(check), path);
        return false;
    }
    if (!confirmed && !m_messages.AskYesNo(IDS_RESTORE_CONFIRM, path))
        return false;

    m_lastResult = CBackupExchange(m_link, m_cancelled).Restore(image);
    switch (m_lastResult) {
    case ExchangeResult::Done:
        m_messages.ShowMessage(IDS_RESTORE_DONE, path);
        return true;
    case ExchangeResult::NotAnswered:
        m_messages.ShowMessage(IDS_NOT_READY);
        return false;
    case ExchangeResult::Refused:
        m_messages.ShowMessage(IDS_RESTORE_REFUSED, path);
        return false;
    case ExchangeResult::Failed:
        m_messages.ShowMessage(IDS_RESTORE_HALF_WAY);
        return false;
    case ExchangeResult::Cancelled:
        return false;
    }
    return false;
}
