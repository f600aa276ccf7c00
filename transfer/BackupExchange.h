#pragma once

#include "transfer/BackupFile.h"
#include "transfer/CalcPackets.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CLink;

// Restores go out in blocks of this size, the last one shorter.
inline constexpr size_t RESTORE_BLOCK_SIZE = 1024;

// The two exchanges of a calculator's whole memory.
class CBackupExchange {
public:
    CBackupExchange(CLink& link, CancelCheck cancelled) : m_link(link), m_cancelled(std::move(cancelled)) {}

    // Asks for "main\backup" of the backup type; the calculator acknowledges
    // and sends its memory block after block, each under a header named
    // after its ROM version, and ends with EOT.
    ExchangeResult Backup(BackupImage& image);

    // A header with the whole length, then per block a header with the
    // block's length; the calculator acknowledges and clears to send, the
    // PC acknowledges and sends the block as it is, the calculator
    // acknowledges. Then EOT, which the calculator acknowledges. Failed (and
    // Cancelled after the first block went out) may have left the
    // calculator's memory incomplete; Refused, NotAnswered and an early
    // Cancelled sent no data.
    ExchangeResult Restore(const BackupImage& image);

    // The request that starts a backup, as a counted sequence.
    static std::vector<uint8_t> BuildBackupRequest();

private:
    bool Cancelled() const { return m_cancelled && m_cancelled(); }
    bool SendBlock(const BackupImage& image, size_t offset, size_t length);

    CLink& m_link;
    CancelCheck m_cancelled;
};
