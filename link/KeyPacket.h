#pragma once

#include <array>
#include <cstdint>

class CLink;

// A key press travels as a bare four-byte packet whose length field holds
// the key's code, low byte first: 09 87 lo hi, no data and no checksum. The
// calculator acknowledges it as any packet (89 56 00 00) and then handles
// the key as if it had been pressed on its own keyboard.
inline constexpr uint8_t CMD_KEY = 0x87;

// The key packet for `code`, as a counted sequence.
std::array<uint8_t, 5> MakeKeyPacket(uint16_t code);

// Sends one key press and expects the calculator's acknowledgement. False
// when a byte does not go out or the acknowledgement does not come.
bool SendKeyPress(CLink& link, uint16_t code);
