#pragma once

#include "transfer/BackupFile.h"
#include "transfer/CalcPackets.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CLink;

// Restores go out in blocks of this size, the last one shorter.
inline constexpr size_t RESTORE_BLOCK_SIZE = 1024;

// The two exchanges of a calculator's whole memory. They run inside one of
// the link's exchanges, whose cancel stops them at the next byte.
class CBackupExchange {
public:
    explicit CBackupExchange(CLink& link) : m_link(link) {}

    // Asks for "main\backup" of the backup type; the calculator acknowledges
    // and sends its memory block after block, each under a header named
    // after its ROM version, and ends with EOT.
    ExchangeResult Backup(BackupImage& image);

    // A header with the whole length, then per block a header with the
    // block's length; the calculator acknowledges and clears to send, the
    // PC acknowledges and sends the block as it is, the calculator
    // acknowledges. Then EOT, which the calculator acknowledges. Refused and
    // NotAnswered sent no data; Failed, and Cancelled once the first header
    // went out whole (see HasSentHeader), may have left its memory
    // incomplete.
    ExchangeResult Restore(const BackupImage& image);
    // The first header of the last restore reached the calculator whole.
    bool HasSentHeader() const { return m_bHeaderSent; }

    // The request that starts a backup, as a counted sequence.
    static std::vector<uint8_t> BuildBackupRequest();
    // The bytes that a restore of `image` moves on the cable, either way.
    static uint64_t RestoreBytes(const BackupImage& image);

private:
    ExchangeResult RestoreBlocks(const BackupImage& image);
    bool SendBlock(const BackupImage& image, size_t offset, size_t length);

    CLink& m_link;
    bool m_bHeaderSent = false;
};
