#include "sim/ScreenCanvas.h"

#include "sim/SmallFont.h"

namespace {

bool IsOnScreen(int x, int y)
{
    return x >= 0 && x < SIM_SCREEN_WIDTH && y >= 0 && y < SIM_SCREEN_HEIGHT;
}

size_t ByteOf(int x, int y) { return static_cast<size_t>(y * SIM_SCREEN_ROW_BYTES + x / 8); }
uint8_t MaskOf(int x) { return static_cast<uint8_t>(0x80 >> (x % 8)); }

} // namespace

void CScreenCanvas::SetPixel(int x, int y, bool dark)
{
    if (!IsOnScreen(x, y))
        return;
    if (dark)
        m_screen[ByteOf(x, y)] |= MaskOf(x);
    else
        m_screen[ByteOf(x, y)] &= static_cast<uint8_t>(~MaskOf(x));
}

bool CScreenCanvas::IsDark(int x, int y) const
{
    return IsOnScreen(x, y) && (m_screen[ByteOf(x, y)] & MaskOf(x)) != 0;
}

void CScreenCanvas::FillRect(int x, int y, int width, int height, bool dark)
{
    for (int row = y; row < y + height; ++row)
        for (int column = x; column < x + width; ++column)
            SetPixel(column, row, dark);
}

void CScreenCanvas::InvertRect(int x, int y, int width, int height)
{
    for (int row = y; row < y + height; ++row)
        for (int column = x; column < x + width; ++column)
            SetPixel(column, row, !IsDark(column, row));
}

void CScreenCanvas::FrameRect(int x, int y, int width, int height)
{
    FillRect(x, y, width, 1, true);
    FillRect(x, y + height - 1, width, 1, true);
    FillRect(x, y, 1, height, true);
    FillRect(x + width - 1, y, 1, height, true);
}

int CScreenCanvas::DrawText(int x, int y, const std::string& text, int scale)
{
    for (char character : text) {
        const CSmallFont::Glyph& glyph = CSmallFont::GlyphFor(static_cast<uint8_t>(character));
        for (int column = 0; column < CSmallFont::GLYPH_WIDTH; ++column) {
            for (int row = 0; row < CSmallFont::GLYPH_HEIGHT; ++row) {
                if ((glyph[column] >> row) & 1)
                    FillRect(x + column * scale, y + row * scale, scale, scale, true);
            }
        }
        x += CSmallFont::ADVANCE * scale;
    }
    return x;
}
