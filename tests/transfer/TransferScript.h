#pragma once

#include "link/Packets.h"
#include "ScriptedCablePeer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// The calculator's side of receiving and sending one variable, as scripts
// for CScriptedCablePeer, so that tests can assert every byte on the cable.

using Bytes = std::vector<uint8_t>;

inline Bytes Seq(const uint8_t* counted)
{
    return Bytes(counted + 1, counted + 1 + counted[0]);
}

// `head` followed by `tail`.
inline Bytes Join(std::initializer_list<uint8_t> head, const Bytes& tail)
{
    Bytes out(head.size() + tail.size());
    std::copy(head.begin(), head.end(), out.begin());
    std::copy(tail.begin(), tail.end(), out.begin() + static_cast<std::ptrdiff_t>(head.size()));
    return out;
}

inline Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// A packet from the calculator with data and sum; `sumDelta` spoils the sum.
inline Bytes CalcPacket(uint8_t command, const Bytes& data, int sumDelta = 0)
{
    Bytes packet = Join({MACHINE_TI92, command, static_cast<uint8_t>(data.size() & 0xFF),
                         static_cast<uint8_t>(data.size() >> 8)},
                        data);
    AppendLittleEndian16(packet, static_cast<uint16_t>(MakeChecksum(data.data(), data.size()) + sumDelta));
    return packet;
}

// A data section: four zero bytes, V big-endian, the contents.
inline Bytes Section(const Bytes& contents)
{
    return Join({0, 0, 0, 0, static_cast<uint8_t>(contents.size() >> 8), static_cast<uint8_t>(contents.size() & 0xFF)},
                contents);
}

// `count` content bytes of a recognisable pattern.
inline Bytes Contents(size_t count, uint8_t seed = 1)
{
    Bytes contents(count);
    for (size_t i = 0; i < count; ++i)
        contents[i] = static_cast<uint8_t>(seed + i * 7);
    return contents;
}

inline const Bytes CALC_ACK = Seq(SEQ_CALC_ACK);
inline const Bytes CALC_CTS = Seq(SEQ_CALC_CTS);
inline const Bytes CALC_EOT = {MACHINE_TI92, CMD_EOT, 0, 0};

// The request for folder\name as the PC must put it on the cable.
inline Bytes RequestBytes(const std::string& folder, const std::string& name, uint8_t type)
{
    const std::string path = folder + "\\" + name;
    const Bytes data = Join({0, 0, 0, 0, type, static_cast<uint8_t>(path.size())}, Bytes(path.begin(), path.end()));
    Bytes packet = Join({MACHINE_PC, CMD_REQ, static_cast<uint8_t>(data.size()), 0}, data);
    AppendLittleEndian16(packet, MakeChecksum(data.data(), data.size()));
    return packet;
}

inline Bytes AnnouncementBytes(const std::string& folder, const std::string& name, uint8_t type, uint16_t length)
{
    const std::string path = folder + "\\" + name;
    const Bytes data = Join({static_cast<uint8_t>(length & 0xFF), static_cast<uint8_t>(length >> 8), 0, 0, type,
                             static_cast<uint8_t>(path.size())},
                            Bytes(path.begin(), path.end()));
    Bytes packet = Join({MACHINE_PC, CMD_VAR, static_cast<uint8_t>(data.size()), 0}, data);
    AppendLittleEndian16(packet, MakeChecksum(data.data(), data.size()));
    return packet;
}

// The data packet the PC sends for `section`, with a sum of its own making.
inline Bytes PcDataPacket(const Bytes& section)
{
    Bytes packet = Join({MACHINE_PC, CMD_DATA, static_cast<uint8_t>(section.size() & 0xFF),
                         static_cast<uint8_t>(section.size() >> 8)},
                        section);
    AppendLittleEndian16(packet, MakeChecksum(section.data(), section.size()));
    return packet;
}

// The calculator's variable header reply for folder\name.
inline Bytes VariableHeaderReply(const std::string& folder, const std::string& name, uint8_t type, uint32_t size)
{
    const std::string path = folder + "\\" + name;
    return CalcPacket(CMD_VAR, Join({static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8),
                                     static_cast<uint8_t>(size >> 16), static_cast<uint8_t>(size >> 24), type,
                                     static_cast<uint8_t>(path.size())},
                                    Bytes(path.begin(), path.end())));
}

// The whole receive of folder\name: the calculator holds `section`.
inline void ScriptReceive(CScriptedCablePeer& calc, const std::string& folder, const std::string& name, uint8_t type,
                          const Bytes& section, const Bytes& closing = CALC_EOT)
{
    calc.Expect(Seq(SEQ_RDY))
        .Send(CALC_ACK)
        .Expect(RequestBytes(folder, name, type))
        .Send(CALC_ACK)
        .Send(VariableHeaderReply(folder, name, type, static_cast<uint32_t>(section.size() - 4)))
        .Expect(Concat({Seq(SEQ_ACK), Seq(SEQ_CTS)}))
        .Send(CALC_ACK)
        .Send(CalcPacket(CMD_DATA, section))
        .Expect(Seq(SEQ_ACK))
        .Send(closing)
        .Expect(Seq(SEQ_ACK));
}

// The whole send of folder\name with `section`.
inline void ScriptSend(CScriptedCablePeer& calc, const std::string& folder, const std::string& name, uint8_t type,
                       const Bytes& section)
{
    calc.Expect(Seq(SEQ_RDY))
        .Send(CALC_ACK)
        .Expect(AnnouncementBytes(folder, name, type, static_cast<uint16_t>(section.size())))
        .Send(CALC_ACK)
        .Send(CALC_CTS)
        .Expect(Concat({Seq(SEQ_ACK), PcDataPacket(section)}))
        .Send(CALC_ACK)
        .Expect(Seq(SEQ_EOT))
        .Send(CALC_ACK);
}
