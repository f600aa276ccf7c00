#include "sim/CalcMemory.h"
#include "sim/ScreenCanvas.h"
#include "sim/SmallFont.h"
#include "sim/VariableContents.h"
#include "sim/VirtualCalculator.h"

#include <gtest/gtest.h>

#include <set>

using Bytes = std::vector<uint8_t>;

namespace {

// Checks a variable's contents against its type's layout, independently of
// the code that built them; returns what is wrong, or an empty string.
std::string LayoutFault(const SimVariable& v)
{
    const Bytes& c = v.contents;
    const size_t n = c.size();
    switch (v.type) {
    case TI92_TYPE_STR:
        return n >= 3 && c[0] == 0 && c[n - 2] == 0 && c[n - 1] == 0x2D ? "" : "string";
    case TI92_TYPE_TEXT:
        return n >= 5 && c[2] == 0x20 && c[n - 2] == 0 && c[n - 1] == 0xE0 ? "" : "text";
    case TI92_TYPE_PIC: {
        if (n < 5 || c[n - 1] != 0xDF)
            return "picture tag";
        const size_t height = (c[0] << 8) | c[1], width = (c[2] << 8) | c[3];
        return 4 + height * ((width + 7) / 8) + 1 == n ? "" : "picture size";
    }
    case TI92_TYPE_EXPR:
        return n >= 2 && c[n - 1] == 0x1F && c[n - 2] + 2u == n ? "" : "integer";
    case TI92_TYPE_LIST: {
        if (n < 2 || c[0] != 0xE5 || c[n - 1] != 0xD9)
            return "list tags";
        // Walk the elements backwards from the end, as the calculator reads them.
        size_t end = n - 1;
        while (end > 1) {
            if (c[end - 1] != 0x1F || end < 2u + c[end - 2] + 1u)
                return "list element";
            end -= 2 + c[end - 2];
        }
        return end == 1 ? "" : "list length";
    }
    default:
        return "unexpected type";
    }
}

} // namespace

TEST(CalcContent, ContentsFollowTheCalculatorsLayouts)
{
    EXPECT_EQ(MakeIntegerListContents({1, 2}), (Bytes{0xE5, 0x02, 0x01, 0x1F, 0x01, 0x01, 0x1F, 0xD9}));
    EXPECT_EQ(MakeStringContents("abc"), (Bytes{0x00, 'a', 'b', 'c', 0x00, 0x2D}));
    EXPECT_EQ(MakeIntegerContents(1992), (Bytes{0x07, 0xC8, 0x02, 0x1F}));
    EXPECT_EQ(MakeIntegerContents(0), (Bytes{0x00, 0x1F}));
    EXPECT_EQ(MakeTextContents({"ab", "c"}), (Bytes{0x00, 0x01, 0x20, 'a', 'b', 0x0D, 0x20, 'c', 0x00, 0xE0}));
    EXPECT_EQ(MakePictureContents({9, 2, {0x80, 0x80, 0xFF, 0x80}}),
              (Bytes{0x00, 0x02, 0x00, 0x09, 0x80, 0x80, 0xFF, 0x80, 0xDF}));
    EXPECT_TRUE(MakePictureContents({9, 2, {0x80, 0x80}}).empty());
}

TEST(CalcContent, SampleCalculatorHoldsValidVariablesOfEveryKind)
{
    CVirtualCalculator calc;
    calc.LoadSampleContent();
    const auto& folders = calc.Memory().GetFolders();
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[0].name, "main");
    EXPECT_EQ(folders[2].name, "0001");

    std::set<uint8_t> mainTypes;
    for (const SimVariable& v : folders[0].variables)
        mainTypes.insert(v.type);
    EXPECT_EQ(mainTypes, (std::set<uint8_t>{TI92_TYPE_STR, TI92_TYPE_TEXT, TI92_TYPE_PIC, TI92_TYPE_EXPR,
                                            TI92_TYPE_LIST}));
    EXPECT_GE(folders[1].variables.size(), 2u);
    for (const SimFolder& folder : folders) {
        for (const SimVariable& v : folder.variables)
            EXPECT_EQ(LayoutFault(v), "") << folder.name << "\\" << v.name;
    }
    // Loading again starts from scratch.
    calc.AddVariable("extra", "x", TI92_TYPE_EXPR, 0, MakeIntegerContents(1));
    calc.LoadSampleContent();
    EXPECT_EQ(calc.Memory().GetFolders().size(), 3u);
}

TEST(CalcContent, MemoryRefusesWhatTheLinkCannotCarry)
{
    CCalcMemory memory;
    EXPECT_TRUE(memory.AddVariable("main", "eightchr", 0x0C, 0, Bytes(CCalcMemory::MAX_CONTENTS)));
    EXPECT_FALSE(memory.AddVariable("main", "big", 0x0C, 0, Bytes(CCalcMemory::MAX_CONTENTS + 1)));
    EXPECT_FALSE(memory.AddVariable("main", "ninechars", 0x0C, 0, {}));
    EXPECT_FALSE(memory.AddVariable("main", "", 0x0C, 0, {}));
    EXPECT_FALSE(memory.AddVariable("a\\b", "x", 0x0C, 0, {}));
    EXPECT_FALSE(memory.AddVariable("main", std::string("a\0b", 3), 0x0C, 0, {}));
    EXPECT_FALSE(memory.AddVariable("main", "dir", 0x1F, 0, {}));
    EXPECT_FALSE(memory.AddVariable("main", "req", 0x19, 0, {}));
    EXPECT_EQ(memory.CountEntries(), 2u);

    // Names are compared byte for byte.
    EXPECT_TRUE(memory.AddVariable("main", "X", 0x00, 1, {0x01, 0x01, 0x1F}));
    ASSERT_NE(memory.FindVariable("main", "X"), nullptr);
    EXPECT_EQ(memory.FindVariable("main", "x"), nullptr);
    EXPECT_EQ(memory.FindVariable("MAIN", "X"), nullptr);
    EXPECT_EQ(memory.FindVariable("main", "X")->attribute, 1);
}

TEST(CalcContent, HomeScreenIsNeitherBlankNorNoise)
{
    CVirtualCalculator calc;
    calc.LoadSampleContent();
    size_t dark = 0;
    for (uint8_t byte : calc.Screen())
        dark += static_cast<size_t>(__builtin_popcount(byte));
    const double share = static_cast<double>(dark) / (SIM_SCREEN_WIDTH * SIM_SCREEN_HEIGHT);
    EXPECT_GT(share, 0.03);
    EXPECT_LT(share, 0.30);

    // Text shows where it is drawn: the folder "algebra" is listed, so its
    // row differs from an empty calculator's screen.
    CVirtualCalculator empty;
    EXPECT_NE(calc.Screen(), empty.Screen());

    // Every printable character has a glyph of its own.
    std::set<CSmallFont::Glyph> glyphs;
    for (int c = 0x21; c < 0x7F; ++c) {
        const CSmallFont::Glyph& glyph = CSmallFont::GlyphFor(static_cast<uint8_t>(c));
        EXPECT_TRUE(glyphs.insert(glyph).second) << char(c);
        EXPECT_NE(glyph, CSmallFont::Glyph{}) << char(c);
    }
}

TEST(CalcContent, CanvasUsesTheWireConvention)
{
    SimScreen screen{};
    CScreenCanvas canvas(screen);
    canvas.SetPixel(0, 0, true);
    canvas.SetPixel(239, 127, true);
    canvas.SetPixel(240, 0, true); // off screen: ignored
    canvas.SetPixel(-1, 5, true);
    EXPECT_EQ(screen[0], 0x80);
    EXPECT_EQ(screen[3839], 0x01);
    EXPECT_EQ(std::count(screen.begin(), screen.end(), 0), 3838);
    canvas.InvertRect(0, 0, 8, 1);
    EXPECT_EQ(screen[0], 0x7F);
}
