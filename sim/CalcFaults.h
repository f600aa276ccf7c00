#pragma once

#include "sim/CalcPacket.h"

#include <cstdint>
#include <vector>

// Faults planned for the packets the calculator sends. Each is aimed at the
// n-th packet (counting from 1) that the calculator sends after the fault was
// planned, whatever exchange it belongs to; several may hit the same packet.
class CCalcFaults {
public:
    // Sends the error packet 89 5A 00 00 instead; the rest of that answer is
    // dropped and the calculator returns to idle.
    void AnswerErrorAt(unsigned nth);
    // Same packet with another command byte, e.g. CONT in place of the EOT
    // that closes a transfer. The exchange then goes on as if it were sent.
    void ReplaceCommandAt(unsigned nth, uint8_t command);
    // The packet's checksum goes out one too high.
    void CorruptChecksumAt(unsigned nth);
    // A packet with data goes out with `length` data bytes: cut short, or
    // filled up with zero bytes; its checksum still matches what is sent.
    void ResizeDataAt(unsigned nth, uint16_t length);

    void Clear() { m_planned.clear(); }
    bool HasPlanned() const { return !m_planned.empty(); }
    uint64_t GetPacketsSent() const { return m_nSent; }

    // Counts the packet as sent and applies what was planned for it. Returns
    // false when it was turned into the error answer.
    bool Shape(CalcPacket& packet);

private:
    enum class Kind { Error, Command, Checksum, Length };
    struct Planned {
        uint64_t serial;
        Kind kind;
        uint16_t value;
    };
    void Plan(unsigned nth, Kind kind, uint16_t value);

    std::vector<Planned> m_planned;
    uint64_t m_nSent = 0;
};
