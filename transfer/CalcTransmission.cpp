#include "transfer/CalcTransmission.h"

#include "link/Link.h"
#include "link/Packets.h"
#include "transfer/VariableFile.h"

namespace {

// The data packet's leading bytes before the variable or the block.
constexpr size_t SKIPPED_BYTES = 4;

void SplitPath(const std::string& path, ReceivedVariable& variable)
{
    const size_t separator = path.rfind('\\');
    if (separator == std::string::npos) {
        variable.name = path;
        return;
    }
    variable.folder = path.substr(0, separator);
    variable.name = path.substr(separator + 1);
}

} // namespace

bool CTransmissionReceiver::ReceiveOne(const VariableHeader& header, CalcTransmission& out)
{
    if (!m_link.SendSequence(SEQ_ACK) || !m_link.SendSequence(SEQ_CTS) ||
        ReceiveReply(m_link, CMD_ACK) != Reply::Expected)
        return false;
    ReceivedPacket data;
    if (!ReceivePacket(m_link, data) || data.command != CMD_DATA || data.data.size() < SKIPPED_BYTES)
        return false;
    if (header.type == VAR_BACKUP) {
        // The blocks of one backup come in order; the name of the first one
        // is the calculator's ROM version. A block of another length than its
        // header announced has lost or gained bytes on the way, even when its
        // sum agrees, and the memory it belongs to could not be restored.
        if (data.data.size() - SKIPPED_BYTES != header.size)
            return false;
        if (out.backup.romVersion.empty())
            out.backup.romVersion = header.name.substr(0, BACKUP_ROM_VERSION_SIZE);
        out.backup.data.insert(out.backup.data.end(), data.data.begin() + SKIPPED_BYTES, data.data.end());
        if (out.backup.data.size() > BACKUP_MAX_DATA)
            return false;
    } else {
        // The section is saved as received and read back by its own V, so it
        // must hold the whole variable that V announces.
        if (data.data.size() < SECTION_PREFIX_SIZE || SectionLengthFromPrefix(data.data.data()) > data.data.size())
            return false;
        ReceivedVariable variable;
        SplitPath(header.name, variable);
        variable.type = header.type;
        variable.section = std::move(data.data);
        out.variables.push_back(std::move(variable));
    }
    return m_link.SendSequence(SEQ_ACK);
}

ExchangeResult CTransmissionReceiver::Receive(const ReceivedPacket& first, CalcTransmission& out)
{
    CalcTransmission received;
    if (!ReceiveAll(first, received))
        return FailedOrCancelled(m_link);
    out = std::move(received);
    return ExchangeResult::Done;
}

bool CTransmissionReceiver::ReceiveAll(const ReceivedPacket& first, CalcTransmission& out)
{
    ReceivedPacket packet = first;
    for (;;) {
        if (packet.machine != MACHINE_TI92)
            return false;
        if (packet.command == CMD_EOT)
            break;
        VariableHeader header;
        if (packet.command != CMD_VAR || !DecodeVariableHeader(packet.data, header) || header.name.empty() ||
            !ReceiveOne(header, out) || !ReceivePacket(m_link, packet))
            return false;
    }
    return m_link.SendSequence(SEQ_ACK);
}
