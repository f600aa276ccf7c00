#pragma once

#include <cstdint>
#include <vector>

// A packet the calculator is about to send. Packets with data always end in
// their checksum, even when a fault leaves the data empty.
struct CalcPacket {
    uint8_t command = 0;
    bool bHasData = false;
    std::vector<uint8_t> data;
    // Added to the true checksum; non-zero only for an injected fault.
    uint16_t checksumError = 0;

    static CalcPacket Bare(uint8_t command) { return {command, false, {}, 0}; }
    static CalcPacket WithData(uint8_t command, std::vector<uint8_t> data)
    {
        return {command, true, std::move(data), 0};
    }
};

// Appends the packet's wire bytes: machine id 0x89, command, little-endian
// length, then data and checksum for a packet with data.
void AppendCalcPacket(std::vector<uint8_t>& out, const CalcPacket& packet);
