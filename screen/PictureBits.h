#pragma once

#include "screen/ScreenImage.h"

#include <cstdint>
#include <span>
#include <vector>

// Enlarges a screen (set = light) by nearest neighbour: every pixel becomes a
// zoom x zoom block. `bits` becomes 128*zoom rows of 30*zoom bytes with the
// same conventions (most significant bit leftmost, set = light). Returns
// false, leaving `bits` as it was, when the memory cannot be had or the zoom
// is not 1 or 2.
bool BuildPictureBits(std::span<const uint8_t, SCREEN_BYTES> screen, unsigned zoom,
                      std::vector<uint8_t>& bits);

inline constexpr unsigned MAX_ZOOM = 2;
