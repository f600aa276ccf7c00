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
// agrees) and a backup into "backup.92b".
class CListenOperation {
public:
    // Told each file written, as it is written.
    using SavedHook = std::function<void(const std::string& path)>;

    CListenOperation(CLink& link, IUserMessages& messages, CancelCheck cancelled)
        : m_link(link), m_messages(messages), m_cancelled(std::move(cancelled))
    {
    }

    void SetSavedHook(SavedHook hook) { m_onSaved = std::move(hook); }

    // Receives transmission after transmission into `pcFolder` until
    // cancelled, or until the first one ended when `once`. False when an
    // exchange failed (it is then said to the user and nothing of that
    // transmission is saved) or a file could not be written.
    bool Listen(const std::string& pcFolder, bool once);

    const std::vector<std::string>& GetWrittenPaths() const { return m_written; }
    bool WasCancelled() const { return m_bCancelled; }

    static constexpr const char* kBackupFileName = "backup.92b";

private:
    // True when a first byte came; false when cancelled first.
    bool WaitForCalculator();
    bool Save(const std::string& pcFolder, const CalcTransmission& transmission);
    bool SaveFile(const std::string& path, const std::vector<uint8_t>& bytes);

    CLink& m_link;
    IUserMessages& m_messages;
    CancelCheck m_cancelled;
    SavedHook m_onSaved;
    std::vector<std::string> m_written;
    bool m_bCancelled = false;
};
