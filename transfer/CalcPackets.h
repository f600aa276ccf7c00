#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CLink;

// Whole packets from the calculator, read through the link's byte
// operations, and the few packets of the exchanges in which the calculator
// sends blocks or variables one after the other.

// How an exchange ended. Failed covers a time-out, a wrong sum and a packet
// out of place after the calculator had begun.
enum class ExchangeResult {
    Done,
    NotAnswered, // the calculator did not acknowledge the first packet
    Refused,     // it answered the first packet with the error packet
    Failed,
    Cancelled,   // the link's exchange was cancelled
};

// What a byte operation that did not succeed means: a cancel of the link's
// exchange fails the byte operations as a time-out does.
ExchangeResult FailedOrCancelled(const CLink& link);

struct ReceivedPacket {
    uint8_t machine = 0;
    uint8_t command = 0;
    std::vector<uint8_t> data;
};

// One packet: the header and, when its length field is not zero, that many
// data bytes and their sum. False on a time-out or a sum that does not match.
bool ReceivePacket(CLink& link, ReceivedPacket& packet);

enum class Reply { Expected, Error, Other, Silent };
// Reads the calculator's next packet, which should be the bare `command`.
Reply ReceiveReply(CLink& link, uint8_t command);

// The data of a variable header (CMD_VAR from the calculator): size, type,
// name; the name may carry its folder as "folder\name".
struct VariableHeader {
    uint32_t size = 0;
    uint8_t type = 0;
    std::string name;
};
// False when the data are too short or the name length does not fit them.
bool DecodeVariableHeader(const std::vector<uint8_t>& data, VariableHeader& header);

// The PC's data packet: 09 15, the length, the bytes and their sum.
bool SendDataPacket(CLink& link, const uint8_t* data, uint16_t length);
