#include "transfer/CalcPackets.h"

#include "link/Link.h"
#include "link/Packets.h"
#include "transfer/VariableFile.h"

ExchangeResult FailedOrCancelled(const CLink& link)
{
    return link.WasCancelled() ? ExchangeResult::Cancelled : ExchangeResult::Failed;
}

bool ReceivePacket(CLink& link, ReceivedPacket& packet)
{
    uint8_t header[PACKET_HEADER_SIZE];
    for (uint8_t& byte : header) {
        if (!link.ReceiveByte(byte))
            return false;
    }
    packet.machine = header[0];
    packet.command = header[1];
    const uint16_t length = static_cast<uint16_t>(header[2] | (header[3] << 8));
    packet.data.assign(length, 0);
    if (length == 0)
        return true;
    for (uint8_t& byte : packet.data) {
        if (!link.ReceiveByte(byte))
            return false;
    }
    uint8_t sum[2];
    if (!link.ReceiveByte(sum[0]) || !link.ReceiveByte(sum[1]))
        return false;
    return MakeChecksum(packet.data.data(), length) == static_cast<uint16_t>(sum[0] | (sum[1] << 8));
}

Reply ReceiveReply(CLink& link, uint8_t command)
{
    ReceivedPacket packet;
    if (!ReceivePacket(link, packet))
        return Reply::Silent;
    if (packet.command == CMD_ERR)
        return Reply::Error;
    if (packet.machine != MACHINE_TI92 || packet.command != command || !packet.data.empty())
        return Reply::Other;
    return Reply::Expected;
}

bool DecodeVariableHeader(const std::vector<uint8_t>& data, VariableHeader& header)
{
    if (data.size() < 6 || data.size() < 6u + data[5])
        return false;
    header.size = GetLittleEndian32(data.data());
    header.type = data[4];
    header.name.assign(data.begin() + 6, data.begin() + 6 + data[5]);
    return true;
}

bool SendDataPacket(CLink& link, const uint8_t* data, uint16_t length)
{
    const uint8_t head[] = {4, MACHINE_PC, CMD_DATA, static_cast<uint8_t>(length & 0xFF),
                            static_cast<uint8_t>(length >> 8)};
    const uint16_t sum = MakeChecksum(data, length);
    const uint8_t checksum[] = {2, static_cast<uint8_t>(sum & 0xFF), static_cast<uint8_t>(sum >> 8)};
    return link.SendSequence(head) && link.SendBuffer(data, length) && link.SendSequence(checksum);
}
