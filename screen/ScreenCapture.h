#pragma once

#include "screen/ScreenImage.h"

#include <cstdint>
#include <span>

class CLink;

// Fetches the calculator's display: sends the screen request, expects the
// calculator's acknowledgement and reads its one data packet, storing every
// data byte complemented (set = light) into `screen` from offset 0. Bytes
// beyond the data length keep what they held. A packet longer than the
// buffer is read to its end so the calculator is not left mid-packet, but
// only the first SCREEN_BYTES bytes are kept. No acknowledgement follows.
//
// Returns false at the first byte that does not arrive or differs from the
// expected acknowledgement; the data bytes that arrived before a time-out
// stay in the buffer. Something else than the screen - a packet that is not
// data, or data whose checksum does not match - fails as well and changes
// nothing, and so does a cancelled capture.
bool ReceiveScreen(CLink& link, std::span<uint8_t, SCREEN_BYTES> screen);
