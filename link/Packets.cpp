#include "link/Packets.h"

uint16_t MakeChecksum(const uint8_t* data, size_t length, uint16_t start)
{
    uint16_t sum = start;
    for (size_t i = 0; i < length; ++i)
        sum = static_cast<uint16_t>(sum + data[i]);
    return sum;
}

void AppendLittleEndian16(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

std::vector<uint8_t> MakeCountedPacket(uint8_t machine, uint8_t command,
                                       const std::vector<uint8_t>& data)
{
    const size_t packetLength = PACKET_HEADER_SIZE + (data.empty() ? 0 : data.size() + 2);
    if (packetLength > 255 || data.size() > 0xFFFF)
        return {};
    std::vector<uint8_t> seq;
    seq.reserve(packetLength + 1);
    seq.push_back(static_cast<uint8_t>(packetLength));
    seq.push_back(machine);
    seq.push_back(command);
    AppendLittleEndian16(seq, static_cast<uint16_t>(data.size()));
    if (!data.empty()) {
        seq.insert(seq.end(), data.begin(), data.end());
        AppendLittleEndian16(seq, MakeChecksum(data.data(), data.size()));
    }
    return seq;
}
