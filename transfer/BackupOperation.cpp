#include "transfer/BackupOperation.h"

#include "link/LinkProgress.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"
#include "text/UserMessages.h"
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
    {
        // The length of a backup shows only at its end.
        CLinkExchange exchange(m_link, IDS_PROGRESS_BACKUP, ShownFileName(path), 0);
        m_lastResult = CBackupExchange(m_link).Backup(image);
    }
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
        m_messages.ShowMessage(IDS_EXCHANGE_CANCELLED);
        return false;
    }
    std::string error;
    if (!file.Commit(BuildBackupFile(image), error)) {
        m_messages.ShowText(FileNotWrittenText(path, error));
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

    CBackupExchange exchange(m_link);
    {
        CLinkExchange scope(m_link, IDS_PROGRESS_RESTORE, ShownFileName(path), CBackupExchange::RestoreBytes(image));
        m_lastResult = exchange.Restore(image);
    }
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
        // One message, which says what the cancel may have cost.
        m_messages.ShowMessage(exchange.HasSentHeader() ? IDS_RESTORE_CANCELLED : IDS_EXCHANGE_CANCELLED);
        return false;
    }
    return false;
}
