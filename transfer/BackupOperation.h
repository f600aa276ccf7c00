#pragma once

#include "transfer/CalcPackets.h"

#include <string>

class CLink;
class IUserMessages;

// The backup and restore buttons (and commands): a calculator's whole
// memory into a ".92b" file and back. The file is checked whole before a
// restore sends anything, and a backup replaces an existing file only once
// the new one is complete. Each runs as one of the link's exchanges, so its
// progress shows and a cancel stops it at the next byte.
class CBackupOperation {
public:
    CBackupOperation(CLink& link, IUserMessages& messages) : m_link(link), m_messages(messages) {}

    // Asks before replacing a file that is not empty. True when the backup
    // is in `path`.
    bool Backup(const std::string& path);

    // A restore replaces everything on the calculator: unless `confirmed`,
    // the user is asked first. True when the calculator acknowledged the
    // whole backup.
    bool Restore(const std::string& path, bool confirmed);

    // How the last exchange ended; Done also when none took place.
    ExchangeResult GetLastResult() const { return m_lastResult; }

private:
    CLink& m_link;
    IUserMessages& m_messages;
    ExchangeResult m_lastResult = ExchangeResult::Done;
};
