#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes a silent 8-bit palette clip in the form the about page plays: one
// video stream, every frame a key frame, RLE8 coded or uncompressed.
struct AviClipContent {
    uint32_t nWidth = 0;
    uint32_t nHeight = 0;
    uint32_t nFrameMicroseconds = 100000;
    std::vector<uint32_t> palette;            // 0xRRGGBB, at most 256
    std::vector<std::vector<uint8_t>> frames; // palette indices, top row first;
                                              // an empty one is a dropped frame
    bool bRle8 = true;
};

std::vector<uint8_t> BuildAviClip(const AviClipContent& clip);
bool WriteAviClip(const std::string& path, const AviClipContent& clip);
