#pragma once

#include <array>
#include <cstdint>

// A 5 x 7 pixel font for the simulated calculator's screen, printable ASCII
// only. A glyph is five columns, left to right; bit 0 of a column is its top
// pixel. Any other byte gets a hollow box.
class CSmallFont {
public:
    static constexpr int GLYPH_WIDTH = 5;
    static constexpr int GLYPH_HEIGHT = 7;
    // One blank column and one blank row between characters.
    static constexpr int ADVANCE = GLYPH_WIDTH + 1;
    static constexpr int LINE_HEIGHT = GLYPH_HEIGHT + 1;

    using Glyph = std::array<uint8_t, GLYPH_WIDTH>;
    static const Glyph& GlyphFor(uint8_t character);
};
