// Draws the about page's clip: a PC and a TI-92 joined by the link cable,
// with a packet running along the cable while the PC fills its screen with
// lines and the calculator plots a curve. Written as an RLE8 AVI clip.

#include "clip/AviWriter.h"

#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

constexpr uint32_t WIDTH = 160;
constexpr uint32_t HEIGHT = 96;
constexpr int FRAMES = 32;

enum Colour : uint8_t {
    Background, Outline, PcBody, PcScreen, PcText, CalcBody, CalcLcd, CalcInk, Keys, Accent, Cable, Packet, White
};

const std::vector<uint32_t> PALETTE = {0xE8ECF2, 0x1E222C, 0xC8CCD6, 0x1F3A5C, 0x8FD0FF, 0x3A4254, 0xAAC496,
                                        0x283428, 0xC8CED8, 0xE2783C, 0x2A2E38, 0xFFD040, 0xFFFFFF};

class CCanvas {
public:
    CCanvas() : m_pixels(size_t(WIDTH) * HEIGHT, Background) {}

    void Set(int x, int y, uint8_t c)
    {
        if (x >= 0 && y >= 0 && x < int(WIDTH) && y < int(HEIGHT))
            m_pixels[size_t(y) * WIDTH + size_t(x)] = c;
    }
    void Fill(int x0, int y0, int x1, int y1, uint8_t c)
    {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                Set(x, y, c);
    }
    void Box(int x0, int y0, int x1, int y1, uint8_t fill)
    {
        Fill(x0, y0, x1, y1, Outline);
        Fill(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill);
    }
    const std::vector<uint8_t>& Pixels() const { return m_pixels; }

private:
    std::vector<uint8_t> m_pixels;
};

// The cable from the calculator's link port to the back of the PC.
std::vector<std::pair<int, int>> CablePath()
{
    std::vector<std::pair<int, int>> points;
    const double x0 = 122, y0 = 29, x1 = 104, y1 = 4, x2 = 76, y2 = 4, x3 = 62, y3 = 34;
    for (int i = 0; i <= 200; ++i) {
        const double t = i / 200.0, u = 1 - t;
        const double x = u * u * u * x0 + 3 * u * u * t * x1 + 3 * u * t * t * x2 + t * t * t * x3;
        const double y = u * u * u * y0 + 3 * u * u * t * y1 + 3 * u * t * t * y2 + t * t * t * y3;
        const std::pair<int, int> p{int(std::lround(x)), int(std::lround(y))};
        if (points.empty() || points.back() != p)
            points.push_back(p);
    }
    return points;
}

void DrawPc(CCanvas& c, int frame)
{
    c.Box(8, 14, 62, 58, PcBody);
    c.Box(13, 19, 57, 51, PcScreen);
    c.Fill(31, 59, 39, 63, PcBody);
    c.Box(22, 63, 48, 67, PcBody);
    c.Fill(52, 54, 56, 55, Accent); // power light
    // Lines of text appear one by one and start over with the loop.
    const int lines = (frame * 8) / FRAMES + 1;
    for (int line = 0; line < lines; ++line) {
        const int y = 22 + line * 4;
        const int length = 12 + ((line * 7) % 5) * 5;
        for (int x = 16; x < 16 + length; ++x)
            if ((x + line) % 6 != 0)
                c.Set(x, y, PcText);
    }
}

void DrawCalculator(CCanvas& c, int frame)
{
    c.Box(92, 29, 152, 72, CalcBody);
    c.Box(105, 33, 139, 53, CalcLcd);
    // Keys: a block each side of the screen and a keyboard row below it.
    for (int r = 0; r < 4; ++r) {
        c.Fill(96, 35 + r * 5, 101, 37 + r * 5, Keys);
        c.Fill(143, 35 + r * 5, 148, 37 + r * 5, Keys);
    }
    for (int k = 0; k < 11; ++k)
        c.Fill(97 + k * 5, 57, 99 + k * 5, 59, Keys);
    for (int k = 0; k < 10; ++k)
        c.Fill(99 + k * 5, 62, 101 + k * 5, 64, Keys);
    c.Fill(108, 67, 136, 68, Accent); // space bar
    // The calculator plots a curve, left to right, over the loop.
    const int columns = (frame + 1) * 32 / FRAMES;
    for (int i = 0; i < columns; ++i) {
        const int x = 107 + i;
        const int y = 43 - int(std::lround(7 * std::sin(i * 0.39)));
        c.Set(x, y, CalcInk);
    }
    for (int x = 107; x <= 137; x += 2)
        c.Set(x, 43, CalcInk); // axis
}

void DrawCable(CCanvas& c, const std::vector<std::pair<int, int>>& path, int frame)
{
    for (const auto& [x, y] : path) {
        c.Set(x, y, Cable);
        c.Set(x + 1, y, Cable);
    }
    c.Fill(120, 27, 124, 29, Outline); // plug on the calculator
    c.Fill(62, 32, 64, 36, Outline);   // plug on the PC
    // The packet goes to the PC in the first half and comes back in the second.
    const int half = FRAMES / 2;
    const int step = frame < half ? frame : FRAMES - 1 - frame;
    const size_t at = size_t(step) * (path.size() - 1) / size_t(half - 1);
    const auto [px, py] = path[at];
    c.Fill(px - 2, py - 2, px + 2, py + 2, Packet);
    c.Set(px, py, White);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.avi\n", argv[0]);
        return 2;
    }
    AviClipContent clip;
    clip.nWidth = WIDTH;
    clip.nHeight = HEIGHT;
    clip.nFrameMicroseconds = 80000;
    clip.palette = PALETTE;
    clip.bRle8 = true;
    const auto path = CablePath();
    for (int frame = 0; frame < FRAMES; ++frame) {
        CCanvas canvas;
        DrawPc(canvas, frame);
        DrawCalculator(canvas, frame);
        DrawCable(canvas, path, frame);
        clip.frames.push_back(canvas.Pixels());
    }
    if (!WriteAviClip(argv[1], clip)) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
