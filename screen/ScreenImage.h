#pragma once

#include <cstddef>

// The calculator's display: 240 x 128 pixels at one bit per pixel, 30-byte
// rows without padding, top row first, the most significant bit of a byte
// being the leftmost pixel.
inline constexpr int SCREEN_WIDTH = 240;
inline constexpr int SCREEN_HEIGHT = 128;
inline constexpr int SCREEN_ROW_BYTES = SCREEN_WIDTH / 8;
inline constexpr size_t SCREEN_BYTES = static_cast<size_t>(SCREEN_ROW_BYTES) * SCREEN_HEIGHT;

// On the wire a set bit is a dark pixel; the program keeps screens the other
// way round (set = light), as monochrome pictures draw them.
