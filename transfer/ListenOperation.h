#pragma once

#include "transfer/CalcPackets.h"

#include <functional>
#include <string>
#include <vector>

class CLink;
class IUserMessages;
struct CalcTransmission;

// Waiting for the calculator: the PC watches the idle cable until the
// calculator starts sending from its own menu, receives the transmission,
// and saves each variable as the receive button does (a file named after it
// and its type, replacing an existing file only whole and only when the user
// agrees) and a backup into "backup.92b". The wait and the transmission that
// ends it are one of the link's exchanges, whose cancel ends the listening.
class CListenOperation {
public:
    // Told each file written, as it is written.
    using SavedHook = std::function<void(const std::string& path)>;

    CListenOperation(CLink& link, IUserMessages& messages) : m_link(link), m_messages(messages) {}

    void SetSavedHook(SavedHook hook) { m_onSaved = std::move(hook); }

    // Receives transmission after transmission into `pcFolder` until
    // cancelled, or until the first one ended when `once`. False when an
    // exchange failed (it is then said to the user and nothing of that
    // transmission is saved) or a file could not be written. A cancel while
    // waiting ends it silently; one that cuts a transmission says so.
    bool Listen(const std::string& pcFolder, bool once);

    const std::vector<std::string>& GetWrittenPaths() const { return m_written; }
    bool WasCancelled() const { return m_bCancelled; }

    static constexpr const char* BACKUP_FILE_NAME = "backup.92b";

private:
    // Waits for the calculator and receives what it sends; Cancelled with
    // `began` false when the cancel came before it began.
    ExchangeResult ReceiveTransmission(CalcTransmission& transmission, bool& began);
    bool Save(const std::string& pcFolder, const CalcTransmission& transmission);
    bool SaveFile(const std::string& path, const std::vector<uint8_t>& bytes);

    CLink& m_link;
    IUserMessages& m_messages;
    SavedHook m_onSaved;
    std::vector<std::string> m_written;
    bool m_bCancelled = false;
};
