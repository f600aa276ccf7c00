#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A silent video clip as the animation control plays it: the first video
// stream of an AVI file, uncompressed (8-bit with palette, 24 or 32-bit) or
// RLE8 compressed, decoded into frames of 0xAARRGGBB pixels, top row first.
// Anything else, and any damaged file, is refused as a whole.
class CAviClip {
public:
    using Frame = std::vector<uint32_t>;

    // Limits that keep a hostile file from taking all memory.
    static constexpr uint32_t MAX_SIDE = 2048;
    static constexpr uint64_t MAX_TOTAL_PIXELS = 16u * 1024 * 1024;
    static constexpr size_t MAX_FILE_BYTES = 64u * 1024 * 1024;

    bool LoadFile(const std::string& path);
    bool Load(const uint8_t* data, size_t size);

    uint32_t GetWidth() const { return m_nWidth; }
    uint32_t GetHeight() const { return m_nHeight; }
    // Time each frame is shown.
    uint32_t GetFrameMicroseconds() const { return m_nFrameMicroseconds; }
    const std::vector<Frame>& GetFrames() const { return m_frames; }

private:
    void Clear();

    uint32_t m_nWidth = 0;
    uint32_t m_nHeight = 0;
    uint32_t m_nFrameMicroseconds = 0;
    std::vector<Frame> m_frames;
};
