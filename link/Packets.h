#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Link packets: machine id, command, 16-bit little-endian length, then for
// packets with data the data and their 16-bit little-endian sum. Packets
// travel through the program as counted sequences: byte 0 holds the number
// of packet bytes that follow.

inline constexpr uint8_t MACHINE_PC = 0x09;
inline constexpr uint8_t MACHINE_TI92 = 0x89;

inline constexpr uint8_t CMD_RDY = 0x68;
inline constexpr uint8_t CMD_ACK = 0x56;
inline constexpr uint8_t CMD_CTS = 0x09;
inline constexpr uint8_t CMD_REQ = 0xA2;
inline constexpr uint8_t CMD_VAR = 0x06;
inline constexpr uint8_t CMD_DATA = 0x15;
inline constexpr uint8_t CMD_CONT = 0x78;
inline constexpr uint8_t CMD_EOT = 0x92;
inline constexpr uint8_t CMD_SCR = 0x6D;
inline constexpr uint8_t CMD_ERR = 0x5A;

inline constexpr uint8_t SEQ_RDY[] = {4, MACHINE_PC, CMD_RDY, 0x00, 0x00};
inline constexpr uint8_t SEQ_ACK[] = {4, MACHINE_PC, CMD_ACK, 0x00, 0x00};
// The PC's clear-to-send carries FF FF in its length field and no data.
inline constexpr uint8_t SEQ_CTS[] = {4, MACHINE_PC, CMD_CTS, 0xFF, 0xFF};
inline constexpr uint8_t SEQ_EOT[] = {4, MACHINE_PC, CMD_EOT, 0x00, 0x00};
inline constexpr uint8_t SEQ_SCREEN[] = {4, MACHINE_PC, CMD_SCR, 0x00, 0x00};
// CMD_REQ for type 0x19 with an empty name: size 0, type 0x19, name length 0.
inline constexpr uint8_t SEQ_DIR_REQ[] = {12,   MACHINE_PC, CMD_REQ, 0x06, 0x00, 0x00, 0x00,
                                          0x00, 0x00,       0x19,    0x00, 0x19, 0x00};
inline constexpr uint8_t SEQ_CALC_ACK[] = {4, MACHINE_TI92, CMD_ACK, 0x00, 0x00};
inline constexpr uint8_t SEQ_CALC_CTS[] = {4, MACHINE_TI92, CMD_CTS, 0x00, 0x00};

inline constexpr size_t PACKET_HEADER_SIZE = 4;

// Sum of the bytes as unsigned values, modulo 65536.
uint16_t MakeChecksum(const uint8_t* data, size_t length, uint16_t start = 0);

// Appends `value` low byte first.
void AppendLittleEndian16(std::vector<uint8_t>& out, uint16_t value);

// A counted sequence holding one whole packet: header and, when `data` is
// not empty, the data and their checksum. Packets longer than 255 bytes
// cannot be counted and give an empty vector.
std::vector<uint8_t> MakeCountedPacket(uint8_t machine, uint8_t command,
                                       const std::vector<uint8_t>& data);
