#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A two-colour picture as the screen page shows it: rows of `rowBytes`
// bytes, top row first, the most significant bit leftmost, a set bit a light
// pixel (white) and a clear bit a dark one (black).
struct MonoPicture {
    int width = 0;
    int height = 0;
    const uint8_t* bits = nullptr;
    size_t rowBytes = 0;
};

// The image formats this program writes without any toolkit, so that both
// programs on every system write the same bytes for the same screen.
enum class MonoImageFormat { None, Bmp, Png, Pbm };

// The format named by the extension of `path` (the text after the last "."
// of its file name), without regard to case; None when there is none or it
// is not one of ours.
MonoImageFormat MonoImageFormatFromPath(const std::string& path);
// "bmp, pbm, png": what a user may type.
const char* MonoImageExtensions();

// The whole file in memory.
std::vector<uint8_t> EncodeMonoBmp(const MonoPicture& picture);
std::vector<uint8_t> EncodeMonoPng(const MonoPicture& picture);
std::vector<uint8_t> EncodeMonoPbm(const MonoPicture& picture);
std::vector<uint8_t> EncodeMonoImage(const MonoPicture& picture, MonoImageFormat format);
