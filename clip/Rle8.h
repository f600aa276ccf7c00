#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Run-length coding of 8-bit pictures, as device-independent bitmaps and
// video clips use it. Rows run bottom-up; `pixels` holds `height` rows of
// `width` palette indices, top row first.
//
// Decoding paints over `pixels` (a delta frame changes only what it codes)
// and refuses, leaving `pixels` partly painted, a stream that is truncated
// or would paint outside the picture.
bool DecodeRle8(const uint8_t* data, size_t size, uint32_t width, uint32_t height, std::vector<uint8_t>& pixels);

// Codes a whole picture (a key frame), ending with the end-of-picture mark.
std::vector<uint8_t> EncodeRle8(const std::vector<uint8_t>& pixels, uint32_t width, uint32_t height);
