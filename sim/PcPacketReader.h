#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A packet as the PC sent it.
struct PcPacket {
    uint8_t machine = 0;
    uint8_t command = 0;
    uint16_t length = 0;
    std::vector<uint8_t> data;
    uint16_t checksum = 0;

    bool ChecksumMatches() const;
};

// Gathers the PC's bytes into whole packets. The requests, announcements and
// data packets are read by their length field: that many data bytes, then the
// checksum. Every other command is its four header bytes alone, whatever its
// length field says (the PC's clear-to-send carries FF FF there).
class CPcPacketReader {
public:
    // True when `value` completed a packet, which GetPacket() then holds
    // until the next byte is added.
    bool Add(uint8_t value);
    const PcPacket& GetPacket() const { return m_packet; }
    // Drops a half-read packet.
    void Reset();

    static bool CarriesData(uint8_t command);

private:
    bool HeaderDone();

    PcPacket m_packet;
    size_t m_nHeaderBytes = 0;
    size_t m_nChecksumBytes = 0;
    bool m_bInData = false;
};
