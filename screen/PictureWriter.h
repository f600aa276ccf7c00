#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes screen pictures into image files; each window toolkit brings its
// own encoders.
class IPictureWriter {
public:
    virtual ~IPictureWriter() = default;

    // The formats it can write, by the file-name extension that asks for
    // each (lower case, without the dot).
    virtual std::vector<std::string> GetFormats() const = 0;
    // Writes the picture of `bits` (30*zoom-byte rows, most significant bit
    // leftmost, a set bit a light pixel) as a two-colour image of 240*zoom x
    // 128*zoom pixels, dark pixels black, in `format`, one of GetFormats().
    // An existing file is replaced only by a complete new one. On failure
    // `reason` says why, in a sentence for the user.
    virtual bool WritePicture(const std::vector<uint8_t>& bits, unsigned zoom, const std::string& path,
                              const std::string& format, std::string& reason) = 0;
};
