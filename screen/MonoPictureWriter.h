#pragma once

#include "screen/PictureWriter.h"

// Screen pictures written by the program's own encoders (bmp, png, pbm),
// with no toolkit: for a window that has no image writers of its own.
class CMonoPictureWriter final : public IPictureWriter {
public:
    std::vector<std::string> GetFormats() const override;
    bool WritePicture(const std::vector<uint8_t>& bits, unsigned zoom, const std::string& path,
                      const std::string& format, std::string& reason) override;
};
