#include "transfer/BackupExchange.h"

#include "link/Link.h"
#include "link/Packets.h"
#include "transfer/CalcTransmission.h"
#include "transfer/ExchangeOpening.h"

#include <algorithm>

namespace {

constexpr char BACKUP_REQUEST_NAME[] = "main\\backup";

ExchangeResult FirstReplyResult(Reply reply)
{
    switch (reply) {
    case Reply::Expected: return ExchangeResult::Done;
    case Reply::Error: return ExchangeResult::Refused;
    case Reply::Silent: return ExchangeResult::NotAnswered;
    case Reply::Other: break;
    }
    return ExchangeResult::Failed;
}

} // namespace

std::vector<uint8_t> CBackupExchange::BuildBackupRequest()
{
    return BuildNamedHeaderPacket(CMD_REQ, BACKUP_REQUEST_NAME, VAR_BACKUP, 0);
}

uint64_t CBackupExchange::RestoreBytes(const BackupImage& image)
{
    // Every header names the ROM version; a block also takes the short
    // packets around it and its data packet's header and sum. The exchange
    // ends with EOT and its acknowledgement.
    constexpr uint64_t HEADER_FIXED = PACKET_HEADER_SIZE + 6 + 2;
    constexpr uint64_t BLOCK_SHORT_PACKETS = 4 * PACKET_HEADER_SIZE + PACKET_HEADER_SIZE + 2;
    const uint64_t header = HEADER_FIXED + image.romVersion.size();
    const uint64_t blocks = (image.data.size() + RESTORE_BLOCK_SIZE - 1) / RESTORE_BLOCK_SIZE;
    return header + PACKET_HEADER_SIZE + blocks * (header + BLOCK_SHORT_PACKETS) + image.data.size() +
           2 * PACKET_HEADER_SIZE;
}

ExchangeResult CBackupExchange::Backup(BackupImage& image)
{
    image = {};
    // A request that did not go out shows as the acknowledgement that does
    // not come.
    m_link.SendSequence(BuildBackupRequest().data());
    const ExchangeResult opened = FirstReplyResult(ReceiveReply(m_link, CMD_ACK));
    if (opened != ExchangeResult::Done)
        return m_link.WasCancelled() ? ExchangeResult::Cancelled : opened;

    ReceivedPacket first;
    if (!ReceivePacket(m_link, first))
        return FailedOrCancelled(m_link);
    // Only blocks of a backup belong here: a variable, or an end of
    // transmission with nothing before it, is no backup.
    VariableHeader header;
    if (first.command != CMD_VAR || !DecodeVariableHeader(first.data, header) || header.type != VAR_BACKUP)
        return ExchangeResult::Failed;
    CalcTransmission transmission;
    const ExchangeResult result = CTransmissionReceiver(m_link).Receive(first, transmission);
    if (result != ExchangeResult::Done)
        return result;
    if (!transmission.variables.empty() || !transmission.HasBackup())
        return ExchangeResult::Failed;
    image = std::move(transmission.backup);
    return ExchangeResult::Done;
}

bool CBackupExchange::SendBlock(const BackupImage& image, size_t offset, size_t length)
{
    const std::vector<uint8_t> header =
        BuildNamedHeaderPacket(CMD_VAR, image.romVersion, VAR_BACKUP, static_cast<uint32_t>(length));
    // A header that did not go out shows as the acknowledgement that does not come.
    m_link.SendSequence(header.data());
    if (ReceiveReply(m_link, CMD_ACK) != Reply::Expected || ReceiveReply(m_link, CMD_CTS) != Reply::Expected ||
        !m_link.SendSequence(SEQ_ACK))
        return false;
    // The block itself, without the four leading bytes the calculator puts
    // before what it sends.
    return SendDataPacket(m_link, image.data.data() + offset, static_cast<uint16_t>(length)) &&
           ReceiveReply(m_link, CMD_ACK) == Reply::Expected;
}

ExchangeResult CBackupExchange::Restore(const BackupImage& image)
{
    m_bHeaderSent = false;
    if (image.data.empty() || image.data.size() > BACKUP_MAX_DATA || image.romVersion.empty() ||
        image.romVersion.size() > BACKUP_ROM_VERSION_SIZE)
        return ExchangeResult::Failed;
    const ExchangeResult result = RestoreBlocks(image);
    return result != ExchangeResult::Done && m_link.WasCancelled() ? ExchangeResult::Cancelled : result;
}

ExchangeResult CBackupExchange::RestoreBlocks(const BackupImage& image)
{
    const std::vector<uint8_t> opening =
        BuildNamedHeaderPacket(CMD_VAR, image.romVersion, VAR_BACKUP, static_cast<uint32_t>(image.data.size()));
    // Once the header is out whole, the calculator may act on it even if
    // its acknowledgement never arrives.
    m_bHeaderSent = m_link.SendSequence(opening.data());
    const ExchangeResult opened = FirstReplyResult(ReceiveReply(m_link, CMD_ACK));
    if (opened != ExchangeResult::Done)
        return opened;

    // No empty block after a length that is a whole number of blocks.
    for (size_t offset = 0; offset < image.data.size(); offset += RESTORE_BLOCK_SIZE) {
        if (!SendBlock(image, offset, std::min(RESTORE_BLOCK_SIZE, image.data.size() - offset)))
            return ExchangeResult::Failed;
    }
    if (!m_link.SendSequence(SEQ_EOT) || ReceiveReply(m_link, CMD_ACK) != Reply::Expected)
        return ExchangeResult::Failed;
    return ExchangeResult::Done;
}
