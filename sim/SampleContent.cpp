#include "sim/SampleContent.h"

#include "sim/SmallFont.h"
#include "sim/VariableContents.h"

namespace {

constexpr uint8_t NO_ATTRIBUTE = 0x00;
constexpr uint8_t ATTRIBUTE_LOCKED = 0x01;

void SetPicturePixel(PicturePixels& picture, int x, int y)
{
    const size_t rowBytes = (picture.width + 7u) / 8u;
    picture.rows[static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x / 8)] |=
        static_cast<uint8_t>(0x80 >> (x % 8));
}

// A framed "TI-92" badge.
PicturePixels MakeLogo()
{
    const std::string text = "TI-92";
    PicturePixels picture;
    picture.width = static_cast<uint16_t>(text.size() * CSmallFont::ADVANCE + 5);
    picture.height = CSmallFont::GLYPH_HEIGHT + 6;
    picture.rows.assign(((picture.width + 7u) / 8u) * picture.height, 0);
    for (int x = 0; x < picture.width; ++x) {
        SetPicturePixel(picture, x, 0);
        SetPicturePixel(picture, x, picture.height - 1);
    }
    for (int y = 0; y < picture.height; ++y) {
        SetPicturePixel(picture, 0, y);
        SetPicturePixel(picture, picture.width - 1, y);
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const CSmallFont::Glyph& glyph = CSmallFont::GlyphFor(static_cast<uint8_t>(text[i]));
        for (int column = 0; column < CSmallFont::GLYPH_WIDTH; ++column)
            for (int row = 0; row < CSmallFont::GLYPH_HEIGHT; ++row)
                if ((glyph[column] >> row) & 1)
                    SetPicturePixel(picture, 3 + static_cast<int>(i) * CSmallFont::ADVANCE + column, 3 + row);
    }
    return picture;
}

} // namespace

void LoadSampleContent(CCalcMemory& memory)
{
    memory.Clear();
    memory.AddVariable("main", "greeting", TI92_TYPE_STR, NO_ATTRIBUTE,
                       MakeStringContents("Hello from the TI-92!"));
    memory.AddVariable("main", "notes", TI92_TYPE_TEXT, NO_ATTRIBUTE,
                       MakeTextContents({"Vantrel 92 sample text.", "It has two lines."}));
    memory.AddVariable("main", "logo", TI92_TYPE_PIC, NO_ATTRIBUTE, MakePictureContents(MakeLogo()));
    memory.AddVariable("main", "year", TI92_TYPE_EXPR, NO_ATTRIBUTE, MakeIntegerContents(1992));
    memory.AddVariable("main", "primes", TI92_TYPE_LIST, NO_ATTRIBUTE,
                       MakeIntegerListContents({2, 3, 5, 7, 11, 13}));

    memory.AddVariable("algebra", "poly", TI92_TYPE_STR, NO_ATTRIBUTE, MakeStringContents("x^2+2*x+1"));
    memory.AddVariable("algebra", "squares", TI92_TYPE_LIST, NO_ATTRIBUTE,
                       MakeIntegerListContents({1, 4, 9, 16, 25}));
    memory.AddVariable("algebra", "answer", TI92_TYPE_EXPR, ATTRIBUTE_LOCKED, MakeIntegerContents(42));

    memory.AddVariable("0001", "pair", TI92_TYPE_LIST, NO_ATTRIBUTE, MakeIntegerListContents({1, 2}));
}
