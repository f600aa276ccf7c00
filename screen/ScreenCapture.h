#pragma once

#include "screen/ScreenImage.h"

#include <cstdint>
#include <span>

class CLink;

// Fetches the calculator's display: sends the screen request, expects the
// calculator's acknowledgement and reads its one data packet, storing every
// data byte complemented (set = light) into `screen`. The packet is read to
// its end whatever length it gives, so the calculator is not left
// mid-packet. No acknowledgement follows.
//
// Returns false at the first byte that does not arrive or differs from the
// expected acknowledgement; the data bytes that arrived before a time-out
// stay in the buffer. Something else than the screen - a packet that is not
// data, data whose checksum does not match, or data of any length but
// exactly SCREEN_BYTES - fails as well and changes nothing, and so does a
// cancelled capture.
bool ReceiveScreen(CLink& link, std::span<uint8_t, SCREEN_BYTES> screen);
