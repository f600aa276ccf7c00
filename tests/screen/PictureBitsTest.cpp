#include "screen/PictureBits.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using Screen = std::array<uint8_t, SCREEN_BYTES>;

bool PixelSet(const std::vector<uint8_t>& bits, size_t rowBytes, size_t x, size_t y)
{
    return (bits[y * rowBytes + x / 8] >> (7 - x % 8)) & 1;
}

} // namespace

TEST(PictureBits, ZoomOneIsTheScreenItself)
{
    Screen screen;
    for (size_t i = 0; i < SCREEN_BYTES; ++i)
        screen[i] = static_cast<uint8_t>(i * 13 + 1);
    std::vector<uint8_t> bits;
    ASSERT_TRUE(BuildPictureBits(screen, 1, bits));
    EXPECT_EQ(bits, std::vector<uint8_t>(screen.begin(), screen.end()));
}

TEST(PictureBits, OneLeftmostPixelBecomesOneTwoByTwoBlock)
{
    Screen screen{};
    screen[0] = 0x80;
    std::vector<uint8_t> bits;
    ASSERT_TRUE(BuildPictureBits(screen, 2, bits));
    ASSERT_EQ(bits.size(), 4 * SCREEN_BYTES);
    for (size_t i = 0; i < bits.size(); ++i)
        ASSERT_EQ(bits[i], (i == 0 || i == 60) ? 0xC0 : 0x00) << i;
}

TEST(PictureBits, EveryPixelMapsToItsOwnBlockAtDoubleSize)
{
    // A pattern that differs between neighbours, rows and byte columns.
    Screen screen;
    for (size_t i = 0; i < SCREEN_BYTES; ++i)
        screen[i] = static_cast<uint8_t>((i * 37) ^ (i >> 3));
    std::vector<uint8_t> bits;
    ASSERT_TRUE(BuildPictureBits(screen, 2, bits));
    ASSERT_EQ(bits.size(), 4 * SCREEN_BYTES);
    for (size_t y = 0; y < 2 * SCREEN_HEIGHT; ++y) {
        for (size_t x = 0; x < 2 * SCREEN_WIDTH; ++x) {
            const bool source = PixelSet({screen.begin(), screen.end()}, SCREEN_ROW_BYTES, x / 2, y / 2);
            ASSERT_EQ(PixelSet(bits, 2 * SCREEN_ROW_BYTES, x, y), source) << x << "," << y;
        }
    }
}

TEST(PictureBits, OnlyZoomsOneAndTwoAreBuilt)
{
    std::vector<uint8_t> kept = {9};
    EXPECT_FALSE(BuildPictureBits(Screen{}, 0, kept));
    EXPECT_FALSE(BuildPictureBits(Screen{}, 3, kept));
    EXPECT_EQ(kept, std::vector<uint8_t>{9});
}
