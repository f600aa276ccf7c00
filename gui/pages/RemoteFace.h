#pragma once

#include "link/KeyTable.h"

#include <algorithm>
#include <cstdint>

// How both remote windows draw the calculator from the key table: the same
// fit into the window, the same colours (0xRRGGBB), the same hit test.

inline constexpr uint32_t FACE_BODY_RGB = 0x3A3F47;
inline constexpr uint32_t FACE_SCREEN_FRAME_RGB = 0x1C1F24;
inline constexpr uint32_t FACE_UPPER_LABEL_RGB = 0x8FD18F;
inline constexpr uint32_t FACE_LATCHED_RGB = 0xF2C14E;

inline constexpr uint32_t KeyFillRgb(KeyKind kind)
{
    switch (kind) {
    case KeyKind::Character: return 0x1F2226;
    case KeyKind::Function: return 0x4F6D8F;
    case KeyKind::Cursor: return 0x5A5F68;
    case KeyKind::Command: return 0x5A5F68;
    case KeyKind::Modifier: return 0x7A8290;
    case KeyKind::Enter: return 0x4F6D8F;
    }
    return 0x1F2226;
}
inline constexpr uint32_t KeyTextRgb(KeyKind) { return 0xF4F4F4; }

// The face drawn as large as fits `width` x `height` pixels, in their
// middle, keeping its shape.
struct FaceFit {
    double scale = 1;
    int left = 0;
    int top = 0;

    static FaceFit Into(int width, int height)
    {
        FaceFit fit;
        fit.scale = std::max(0.1, std::min(double(width) / FACE_WIDTH, double(height) / FACE_HEIGHT));
        fit.left = static_cast<int>((width - FACE_WIDTH * fit.scale) / 2);
        fit.top = static_cast<int>((height - FACE_HEIGHT * fit.scale) / 2);
        return fit;
    }
    int ToPixelX(int faceX) const { return left + static_cast<int>(faceX * scale + 0.5); }
    int ToPixelY(int faceY) const { return top + static_cast<int>(faceY * scale + 0.5); }
    int ToFaceX(int pixelX) const { return static_cast<int>((pixelX - left) / scale); }
    int ToFaceY(int pixelY) const { return static_cast<int>((pixelY - top) / scale); }
};
