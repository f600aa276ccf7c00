#include "clip/AviClip.h"
#include "clip/AviWriter.h"
#include "clip/Rle8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

namespace {

const std::vector<uint32_t> PALETTE = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x123456};

// A picture with long runs, short runs and stretches of differing bytes.
std::vector<uint8_t> Picture(uint32_t width, uint32_t height, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> pixels(size_t(width) * height);
    for (size_t i = 0; i < pixels.size();) {
        const size_t run = 1 + random() % (random() % 3 == 0 ? 300 : 4);
        const uint8_t value = uint8_t(random() % PALETTE.size());
        for (size_t j = 0; j < run && i < pixels.size(); ++j, ++i)
            pixels[i] = random() % 5 == 0 ? uint8_t(random() % PALETTE.size()) : value;
    }
    return pixels;
}

CAviClip::Frame Painted(const std::vector<uint8_t>& indices)
{
    CAviClip::Frame frame;
    for (uint8_t index : indices)
        frame.push_back(0xFF000000u | PALETTE[index]);
    return frame;
}

AviClipContent Clip(uint32_t width, uint32_t height, bool rle, int frames = 3)
{
    AviClipContent clip;
    clip.nWidth = width;
    clip.nHeight = height;
    clip.nFrameMicroseconds = 50000;
    clip.palette = PALETTE;
    clip.bRle8 = rle;
    for (int i = 0; i < frames; ++i)
        clip.frames.push_back(Picture(width, height, unsigned(i + width)));
    return clip;
}

// Offset of the bitmap header inside a built clip.
size_t FormatOffset(const std::vector<uint8_t>& bytes)
{
    const auto at = std::search(bytes.begin(), bytes.end(), "strf", "strf" + 4);
    return size_t(at - bytes.begin()) + 8;
}

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + size_t(i)] = uint8_t(value >> (8 * i));
}

TEST(Rle8Test, CodingRoundTripsAnyPicture)
{
    for (uint32_t width : {1u, 2u, 3u, 7u, 254u, 255u, 256u, 600u}) {
        for (uint32_t height : {1u, 5u}) {
            const std::vector<uint8_t> picture = Picture(width, height, width * 31 + height);
            const std::vector<uint8_t> coded = EncodeRle8(picture, width, height);
            std::vector<uint8_t> decoded(picture.size(), 0xEE);
            ASSERT_TRUE(DecodeRle8(coded.data(), coded.size(), width, height, decoded)) << width << "x" << height;
            EXPECT_EQ(decoded, picture) << width << "x" << height;
        }
    }
}

TEST(Rle8Test, DeltaFramesChangeOnlyWhatTheyCode)
{
    // 4 x 2 picture: skip 1 right and stay on the bottom row, write two 7s,
    // then end the picture.
    std::vector<uint8_t> pixels(8, 1);
    const uint8_t delta[] = {0, 2, 1, 0, 2, 7, 0, 1};
    ASSERT_TRUE(DecodeRle8(delta, sizeof delta, 4, 2, pixels));
    EXPECT_EQ(pixels, (std::vector<uint8_t>{1, 1, 1, 1, 1, 7, 7, 1}));
}

TEST(Rle8Test, StreamsThatPaintOutsideThePictureAreRefused)
{
    std::vector<uint8_t> pixels(4 * 2, 0);
    const std::vector<std::vector<uint8_t>> hostile = {
        {5, 1},                   // a run longer than the row
        {0, 0, 0, 0, 1, 1},       // past the top row
        {0, 2, 9, 0, 1, 1},       // a move beyond the row end
        {0, 2, 0, 9, 1, 1},       // a move above the picture
        {0, 4, 1, 2},             // literal bytes missing
        {0, 2},                   // a move without its offsets
        {0, 5, 1, 2, 3, 4, 5, 0}, // a literal longer than the row
        {1},                      // half a pair
    };
    for (const auto& stream : hostile)
        EXPECT_FALSE(DecodeRle8(stream.data(), stream.size(), 4, 2, pixels)) << stream.size();
    std::vector<uint8_t> wrongSize(3);
    const uint8_t end[] = {0, 1};
    EXPECT_FALSE(DecodeRle8(end, sizeof end, 4, 2, wrongSize));
}

TEST(AviClipTest, ReadsRle8AndUncompressedClipsFrameByFrame)
{
    for (bool rle : {true, false}) {
        // An odd width exercises the row padding of uncompressed frames.
        const AviClipContent content = Clip(13, 7, rle);
        const std::vector<uint8_t> bytes = BuildAviClip(content);
        CAviClip clip;
        ASSERT_TRUE(clip.Load(bytes.data(), bytes.size())) << rle;
        EXPECT_EQ(clip.GetWidth(), 13u);
        EXPECT_EQ(clip.GetHeight(), 7u);
        EXPECT_EQ(clip.GetFrameMicroseconds(), 50000u);
        ASSERT_EQ(clip.GetFrames().size(), content.frames.size());
        for (size_t i = 0; i < content.frames.size(); ++i)
            EXPECT_EQ(clip.GetFrames()[i], Painted(content.frames[i])) << "frame " << i << (rle ? " rle" : " plain");
        // The system's animation control opens a compressed clip only when
        // its stream names a decoder it knows.
        const auto vids = std::search(bytes.begin(), bytes.end(), "vids", "vids" + 4);
        ASSERT_LT(vids + 8, bytes.end());
        EXPECT_EQ(std::string(vids + 4, vids + 8), rle ? std::string("mrle") : std::string(4, '\0')) << rle;
    }
}

TEST(AviClipTest, ADroppedFrameRepeatsThePreviousOne)
{
    for (bool rle : {true, false}) {
        AviClipContent content = Clip(8, 4, rle, 2);
        content.frames.insert(content.frames.begin() + 1, std::vector<uint8_t>());
        const std::vector<uint8_t> bytes = BuildAviClip(content);
        CAviClip clip;
        ASSERT_TRUE(clip.Load(bytes.data(), bytes.size()));
        ASSERT_EQ(clip.GetFrames().size(), 3u);
        EXPECT_EQ(clip.GetFrames()[1], Painted(content.frames[0]));
        EXPECT_EQ(clip.GetFrames()[2], Painted(content.frames[2]));
    }
}

TEST(AviClipTest, ClipsThePlayerCannotShowAreRefused)
{
    const std::vector<uint8_t> good = BuildAviClip(Clip(8, 4, true));
    const size_t format = FormatOffset(good);
    auto refusedWith = [&](size_t offset, uint32_t value) {
        std::vector<uint8_t> bytes = good;
        Put32(bytes, format + offset, value);
        CAviClip clip;
        return !clip.Load(bytes.data(), bytes.size());
    };
    EXPECT_TRUE(refusedWith(16, 2));          // RLE4
    EXPECT_TRUE(refusedWith(16, 0x47504A4D)); // any other codec
    EXPECT_TRUE(refusedWith(4, 0));           // no width
    EXPECT_TRUE(refusedWith(4, 100000));      // absurd size
    EXPECT_TRUE(refusedWith(8, uint32_t(-4))); // top-down RLE
    EXPECT_TRUE(refusedWith(0, 12));          // header too short

    AviClipContent none = Clip(8, 4, true, 0);
    const std::vector<uint8_t> empty = BuildAviClip(none);
    CAviClip clip;
    EXPECT_FALSE(clip.Load(empty.data(), empty.size()));
    const uint8_t notAvi[] = "RIFF\x04\0\0\0WAVE";
    EXPECT_FALSE(clip.Load(notAvi, sizeof notAvi - 1));
    EXPECT_FALSE(clip.Load(nullptr, 0));
    EXPECT_FALSE(clip.LoadFile("/nonexistent/Vantrel92.avi"));
}

TEST(AviClipTest, ATruncatedClipIsRefusedAtEveryLength)
{
    const std::vector<uint8_t> whole = BuildAviClip(Clip(9, 5, true, 2));
    for (size_t length = 0; length < whole.size(); ++length) {
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + ptrdiff_t(length));
        CAviClip clip;
        EXPECT_FALSE(clip.Load(cut.data(), cut.size())) << length;
        EXPECT_TRUE(clip.GetFrames().empty());
    }
}

TEST(AviClipTest, TheBuiltAboutClipPlays)
{
    CAviClip clip;
    ASSERT_TRUE(clip.LoadFile(VANTREL_BIN_DIR "/Vantrel92.avi"));
    EXPECT_EQ(clip.GetWidth(), 160u);
    EXPECT_EQ(clip.GetHeight(), 96u);
    EXPECT_EQ(clip.GetFrames().size(), 32u);
    EXPECT_NE(clip.GetFrames().front(), clip.GetFrames()[16]);
}

} // namespace
