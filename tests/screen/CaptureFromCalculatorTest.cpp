#include "LinkRig.h"
#include "screen/PictureBits.h"
#include "screen/ScreenCapture.h"
#include "sim/VirtualCalculator.h"

#include <gtest/gtest.h>

#include <array>

// The capture against the virtual calculator, whole exchanges at the bit level.

namespace {

using Screen = std::array<uint8_t, SCREEN_BYTES>;

Screen Complement(const SimScreen& wire)
{
    Screen screen;
    for (size_t i = 0; i < SCREEN_BYTES; ++i)
        screen[i] = static_cast<uint8_t>(~wire[i]);
    return screen;
}

} // namespace

TEST(CaptureFromCalculator, TheSampleScreenArrivesWholeAndTheCalculatorIsIdleAgain)
{
    CVirtualCalculator calc;
    calc.LoadSampleContent();
    CLinkRig rig(&calc);

    Screen screen;
    screen.fill(0xFF);
    ASSERT_TRUE(ReceiveScreen(rig.link, screen));
    EXPECT_EQ(screen, Complement(calc.Screen()));
    // Something is drawn: neither blank nor all dark.
    EXPECT_NE(screen, Complement(SimScreen{}));
    EXPECT_TRUE(calc.IsIdle());
    EXPECT_EQ(calc.GetErrorsAnswered(), 0u);

    // A second capture right after sees a changed screen.
    calc.Screen()[0] ^= 0x80;
    ASSERT_TRUE(ReceiveScreen(rig.link, screen));
    EXPECT_EQ(screen, Complement(calc.Screen()));
}

TEST(CaptureFromCalculator, RefusalsAndSilenceFail)
{
    {
        CVirtualCalculator calc;
        CLinkRig rig(&calc);
        calc.Faults().AnswerErrorAt(1);
        Screen screen{};
        EXPECT_FALSE(ReceiveScreen(rig.link, screen));
        EXPECT_EQ(screen, Screen{});
    }
    for (bool checksum : {true, false}) {
        // A screen garbled on the way, or answered with another packet.
        CVirtualCalculator calc;
        CLinkRig rig(&calc);
        if (checksum)
            calc.Faults().CorruptChecksumAt(2);
        else
            calc.Faults().ReplaceCommandAt(2, 0x06);
        Screen screen{};
        EXPECT_FALSE(ReceiveScreen(rig.link, screen)) << checksum;
        EXPECT_EQ(screen, Screen{}) << checksum;
    }
    {
        CVirtualCalculator calc;
        CLinkRig rig(&calc);
        calc.HoldBothLines(true);
        Screen screen{};
        EXPECT_FALSE(ReceiveScreen(rig.link, screen));
    }
    {
        // Silent mid-byte in the data: the bytes before stay.
        CVirtualCalculator calc;
        CLinkRig rig(&calc);
        calc.FallSilentAfterBytes(4 + 4 + 4 + 100, 5);
        Screen screen;
        screen.fill(0x01);
        EXPECT_FALSE(ReceiveScreen(rig.link, screen));
        const Screen sent = Complement(calc.Screen());
        for (size_t i = 0; i < SCREEN_BYTES; ++i)
            ASSERT_EQ(screen[i], i < 100 ? sent[i] : 0x01) << i;
    }
}
