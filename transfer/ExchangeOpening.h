#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CLink;
class IUserMessages;

// The packet that opens a variable exchange, a request (CMD_REQ) or an
// announcement (CMD_VAR): the size in a 32-bit field, the type, the length
// of "folder\name" and that path. Empty when the path is too long for its
// length byte.
std::vector<uint8_t> BuildVariableHeaderPacket(uint8_t command, const std::string& folder, const std::string& name,
                                               uint8_t type, uint16_t size);
// The same for a name that is sent as it is, with a size of 32 bits.
std::vector<uint8_t> BuildNamedHeaderPacket(uint8_t command, const std::string& path, uint8_t type, uint32_t size);

// The ready check, then `firstPacket` (a counted sequence). False when the
// check could not be sent, or when the calculator did not acknowledge it,
// which says "not ready" to the user. Whether the packet itself went out
// shows in the acknowledgement the caller expects next. A cancel is not a
// calculator that does not answer and says nothing.
bool OpenVariableExchange(CLink& link, IUserMessages& messages, const uint8_t* firstPacket);

// Roughly what one variable exchange moves on the cable: the data packet
// with a `sectionLength`-byte section, the packets that name the variable by
// its "folder\name" of `pathLength` bytes, and the short packets around them.
uint64_t VariableExchangeBytes(size_t sectionLength, size_t pathLength);
