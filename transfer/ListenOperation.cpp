#include "transfer/ListenOperation.h"

#include "link/Link.h"
#include "link/LinkProgress.h"
#include "link/VarTypes.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"
#include "text/UserMessages.h"
#include "transfer/CalcTransmission.h"
#include "transfer/ReplacingFile.h"
#include "transfer/SafeFileName.h"
#include "transfer/VariableFile.h"

ExchangeResult CListenOperation::ReceiveTransmission(CalcTransmission& transmission, bool& began)
{
    // Its length is not known until it ends.
    began = false;
    CLinkExchange exchange(m_link, m_written.empty() ? IDS_PROGRESS_LISTENING : IDS_PROGRESS_LISTENING_MORE,
                           m_written.empty() ? std::string() : ShownFileName(m_written.back()), 0);
    if (!m_link.WaitIncoming())
        return ExchangeResult::Cancelled;
    began = true;
    ReceivedPacket first;
    if (!ReceivePacket(m_link, first))
        return FailedOrCancelled(m_link);
    return CTransmissionReceiver(m_link).Receive(first, transmission);
}

bool CListenOperation::SaveFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    if (!AskBeforeReplacing(m_messages, path)) {
        m_messages.ShowMessage(IDS_LISTEN_NOT_SAVED, path);
        return true;
    }
    std::string error;
    CReplacingFile file;
    if (!file.Create(path, error) || !file.Commit(bytes, error)) {
        m_messages.ShowText(FileNotWrittenText(path, error));
        return false;
    }
    m_written.push_back(path);
    if (m_onSaved)
        m_onSaved(path);
    return true;
}

bool CListenOperation::Save(const std::string& pcFolder, const CalcTransmission& transmission)
{
    bool saved = true;
    for (const ReceivedVariable& variable : transmission.variables) {
        CVarFileBuilder builder(1);
        builder.AddVariable(variable.name, variable.type, 0, variable.section.data(), variable.section.size());
        const std::string path =
            JoinFolderPath(pcFolder, VariableFileName(variable.name, variable.type));
        const size_t before = m_written.size();
        saved = SaveFile(path, builder.Finish()) && saved;
        // A name the user would not look for: said once it is there.
        if (m_written.size() > before && GetTypeExtension(variable.type).empty())
            m_messages.ShowMessage(IDS_SAVED_UNDER_TYPE_CODE, path);
    }
    if (transmission.HasBackup())
        saved = SaveFile(JoinFolderPath(pcFolder, BACKUP_FILE_NAME), BuildBackupFile(transmission.backup)) && saved;
    return saved;
}

bool CListenOperation::Listen(const std::string& pcFolder, bool once)
{
    m_written.clear();
    m_bCancelled = false;
    for (;;) {
        CalcTransmission transmission;
        bool began = false;
        const ExchangeResult result = ReceiveTransmission(transmission, began);
        if (result == ExchangeResult::Cancelled) {
            if (began)
                m_messages.ShowMessage(IDS_EXCHANGE_CANCELLED);
            m_bCancelled = true;
            return true;
        }
        if (result != ExchangeResult::Done) {
            m_messages.ShowMessage(IDS_LISTEN_FAILED);
            return false;
        }
        // Saved once the calculator is done, so that a question about an
        // existing file never keeps it waiting on the cable.
        if (!Save(pcFolder, transmission))
            return false;
        if (once)
            return true;
    }
}
