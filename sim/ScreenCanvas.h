#pragma once

#include <array>
#include <cstdint>
#include <string>

// The calculator's 240 x 128 one-bit screen as it travels on the wire: rows
// of 30 bytes, top row first, the leftmost pixel in the most significant bit,
// bit set = dark pixel.
inline constexpr int SIM_SCREEN_WIDTH = 240;
inline constexpr int SIM_SCREEN_HEIGHT = 128;
inline constexpr int SIM_SCREEN_ROW_BYTES = SIM_SCREEN_WIDTH / 8;
inline constexpr int SIM_SCREEN_BYTES = SIM_SCREEN_ROW_BYTES * SIM_SCREEN_HEIGHT;
using SimScreen = std::array<uint8_t, SIM_SCREEN_BYTES>;

// Draws on a screen it does not own. Pixels outside the screen are ignored.
class CScreenCanvas {
public:
    explicit CScreenCanvas(SimScreen& screen) : m_screen(screen) {}

    void Clear() { m_screen.fill(0); }
    void SetPixel(int x, int y, bool dark);
    bool IsDark(int x, int y) const;
    void FillRect(int x, int y, int width, int height, bool dark);
    void InvertRect(int x, int y, int width, int height);
    void FrameRect(int x, int y, int width, int height);
    // Text in the small font from its top left corner, each pixel drawn as a
    // scale x scale block. Returns the x just after the last character.
    int DrawText(int x, int y, const std::string& text, int scale = 1);

private:
    SimScreen& m_screen;
};
