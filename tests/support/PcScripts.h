#pragma once

#include "link/Link.h"
#include "link/Packets.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

// The PC's side of the exchanges, written from the scripts the program runs,
// so that the simulated calculator can be driven and its bytes asserted.
namespace pc {

using Bytes = std::vector<uint8_t>;

inline bool Send(CLink& link, const Bytes& bytes)
{
    for (uint8_t value : bytes)
        if (!link.SendByte(value))
            return false;
    return true;
}

inline bool Send(CLink& link, const uint8_t* counted) { return link.SendSequence(counted); }

// Up to `count` bytes; fewer when a byte does not arrive.
inline Bytes Receive(CLink& link, size_t count)
{
    Bytes bytes;
    for (size_t i = 0; i < count; ++i) {
        uint8_t value = 0;
        if (!link.ReceiveByte(value))
            break;
        bytes.push_back(value);
    }
    return bytes;
}

// A packet with data read by its length field, as the program does: header,
// data, checksum. Empty when any byte fails to arrive.
inline Bytes ReceiveDataPacket(CLink& link)
{
    Bytes packet = Receive(link, 4);
    if (packet.size() != 4)
        return {};
    const Bytes rest = Receive(link, static_cast<size_t>(packet[2] | (packet[3] << 8)) + 2);
    if (rest.size() != static_cast<size_t>(packet[2] | (packet[3] << 8)) + 2u)
        return {};
    packet.insert(packet.end(), rest.begin(), rest.end());
    return packet;
}

inline Bytes Packet(uint8_t command, const Bytes& data)
{
    Bytes packet{MACHINE_PC, command};
    AppendLittleEndian16(packet, static_cast<uint16_t>(data.size()));
    packet.insert(packet.end(), data.begin(), data.end());
    AppendLittleEndian16(packet, MakeChecksum(data.data(), data.size()));
    return packet;
}

// Size, type, name length, "folder\name".
inline Bytes VariableHeader(uint32_t size, uint8_t type, const std::string& path)
{
    // Sized at once and filled: inserting after six bytes draws a false
    // bounds report from GCC 12's optimiser.
    Bytes data(6 + path.size());
    for (int i = 0; i < 4; ++i)
        data[i] = static_cast<uint8_t>(size >> (8 * i));
    data[4] = type;
    data[5] = static_cast<uint8_t>(path.size());
    std::copy(path.begin(), path.end(), data.begin() + 6);
    return data;
}

// True when the packet's last two bytes are the sum of its data.
inline bool ChecksumHolds(const Bytes& packet)
{
    if (packet.size() < 6)
        return false;
    const uint16_t sum = MakeChecksum(packet.data() + 4, packet.size() - 6);
    return (sum & 0xFF) == packet[packet.size() - 2] && (sum >> 8) == packet[packet.size() - 1];
}

struct Entry {
    std::string name;
    uint8_t type;
    uint8_t attribute;
    uint32_t size;
};

// The directory listing script; nullopt when it fails anywhere.
inline std::optional<std::vector<Entry>> ListDirectory(CLink& link)
{
    if (!Send(link, SEQ_RDY) || !link.ExpectSequence(SEQ_CALC_ACK) || !Send(link, SEQ_DIR_REQ) ||
        !link.ExpectSequence(SEQ_CALC_ACK) || !ChecksumHolds(ReceiveDataPacket(link)))
        return std::nullopt;
    std::vector<Entry> entries;
    for (;;) {
        if (!Send(link, SEQ_ACK) || !Send(link, SEQ_CTS) || !link.ExpectSequence(SEQ_CALC_ACK))
            return std::nullopt;
        const Bytes entry = ReceiveDataPacket(link);
        if (entry.size() < 4 + 18 + 2 || !ChecksumHolds(entry))
            return std::nullopt;
        std::string name(entry.begin() + 8, entry.begin() + 16);
        name.resize(name.find('\0') == std::string::npos ? 8 : name.find('\0'));
        entries.push_back({name, entry[16], entry[17],
                           static_cast<uint32_t>(entry[18] | (entry[19] << 8) | (entry[20] << 16)) |
                               (static_cast<uint32_t>(entry[21]) << 24)});
        if (!Send(link, SEQ_ACK))
            return std::nullopt;
        const Bytes closing = Receive(link, 4);
        if (closing.size() != 4)
            return std::nullopt;
        if (closing[1] == CMD_EOT)
            return Send(link, SEQ_ACK) ? std::optional(entries) : std::nullopt;
        if (closing[1] != CMD_CONT)
            return std::nullopt;
    }
}

// The receive script: the data packet's data (4 bytes, V, contents).
inline std::optional<Bytes> RequestVariable(CLink& link, const std::string& path, uint8_t type)
{
    if (!Send(link, SEQ_RDY) || !link.ExpectSequence(SEQ_CALC_ACK) ||
        !Send(link, Packet(CMD_REQ, VariableHeader(0, type, path))) || !link.ExpectSequence(SEQ_CALC_ACK) ||
        !ChecksumHolds(ReceiveDataPacket(link)) || !Send(link, SEQ_ACK) || !Send(link, SEQ_CTS) ||
        !link.ExpectSequence(SEQ_CALC_ACK))
        return std::nullopt;
    const Bytes data = ReceiveDataPacket(link);
    if (!ChecksumHolds(data) || !Send(link, SEQ_ACK) || Receive(link, 4) != Bytes{0x89, CMD_EOT, 0, 0} ||
        !Send(link, SEQ_ACK))
        return std::nullopt;
    return Bytes(data.begin() + 4, data.end() - 2);
}

// The send script for `section` (4 bytes, V, contents).
inline bool SendVariable(CLink& link, const std::string& path, uint8_t type, const Bytes& section)
{
    return Send(link, SEQ_RDY) && link.ExpectSequence(SEQ_CALC_ACK) &&
           Send(link, Packet(CMD_VAR, VariableHeader(static_cast<uint32_t>(section.size()), type, path))) &&
           link.ExpectSequence(SEQ_CALC_ACK) && link.ExpectSequence(SEQ_CALC_CTS) && Send(link, SEQ_ACK) &&
           Send(link, Packet(CMD_DATA, section)) && link.ExpectSequence(SEQ_CALC_ACK) &&
           Send(link, SEQ_EOT) && link.ExpectSequence(SEQ_CALC_ACK);
}

// 4 zero bytes, the contents' length big-endian, the contents.
inline Bytes Section(const Bytes& contents)
{
    Bytes section(6 + contents.size(), 0);
    section[4] = static_cast<uint8_t>(contents.size() >> 8);
    section[5] = static_cast<uint8_t>(contents.size());
    std::copy(contents.begin(), contents.end(), section.begin() + 6);
    return section;
}

} // namespace pc
