#include "CancellingProgress.h"
#include "link/LinkProgress.h"
#include "LinkRig.h"
#include "sim/CalcLinkEnd.h"

#include <gtest/gtest.h>

TEST(LinkProgress, EveryByteEitherWayIsCountedAndOnlyTheOutermostExchangeReported)
{
    CCalcLinkEnd calc;
    CLinkRig rig(&calc);
    CCancellingProgress progress;
    rig.link.SetProgress(&progress);
    {
        CLinkExchange outer(rig.link, 230, "main\\x", 100);
        const uint8_t data[] = {0x00, 0xFF, 0x5A, 0xA5, 0x01};
        ASSERT_TRUE(rig.link.SendBuffer(data, sizeof data));
        EXPECT_EQ(progress.done, 5u);
        CLinkExchange inner(rig.link, 233, "", 0);
        calc.QueueBytes({0x12, 0x34, 0x00});
        uint8_t value = 0;
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(rig.link.ReceiveByte(value));
        EXPECT_EQ(progress.done, 8u);
        EXPECT_EQ(calc.GetReceived(), std::vector<uint8_t>(data, data + sizeof data));
    }
    EXPECT_EQ(progress.started, 1);
    EXPECT_EQ(progress.ended, 1);
    EXPECT_EQ(progress.textId, 230);
    EXPECT_EQ(progress.text, "main\\x");
    EXPECT_EQ(progress.expectedBytes, 100u);
    // Each byte was asked about once.
    EXPECT_EQ(progress.asked, 8u);
}

TEST(LinkProgress, ACancelStopsAtTheNextByteReleasesTheLinesAndLastsUntilTheNextExchange)
{
    CCalcLinkEnd calc;
    CLinkRig rig(&calc);
    CCancellingProgress progress(2);
    rig.link.SetProgress(&progress);
    const uint8_t data[] = {1, 2, 3, 4, 5};
    {
        CLinkExchange exchange(rig.link, 231, "x.92s", 5);
        EXPECT_FALSE(rig.link.SendBuffer(data, sizeof data));
        EXPECT_TRUE(rig.link.WasCancelled());
        // Nothing moves any more, whatever is asked of the link.
        progress.cancelAfter = 1000;
        uint8_t value = 0;
        EXPECT_FALSE(rig.link.SendByte(9));
        EXPECT_FALSE(rig.link.ReceiveByte(value));
    }
    EXPECT_EQ(calc.GetReceived(), (std::vector<uint8_t>{1, 2}));
    EXPECT_EQ(calc.GetBitsMoved(), 16u) << "a byte was cut";
    EXPECT_EQ(rig.cable.GetDataRegister(), 3);
    EXPECT_TRUE(rig.link.WasCancelled());
    // The next exchange starts afresh.
    CLinkExchange next(rig.link, 231, "x.92s", 5);
    EXPECT_FALSE(rig.link.WasCancelled());
    EXPECT_TRUE(rig.link.SendByte(3));
}

TEST(LinkProgress, AWaitThatDragsOnAsksEveryFiftyMillisecondsAndACancelEndsItAtOnce)
{
    // The calculator never answers; the time-out is a second.
    CLinkRig rig;
    CCancellingProgress progress;
    rig.link.SetProgress(&progress);
    CLinkExchange exchange(rig.link, 232, "", 0);
    EXPECT_FALSE(rig.link.SendByte(0x01));
    // Once before the byte, then every 50 ms after the wait's first 50.
    EXPECT_GE(progress.asked, 1000 / CLink::STALL_POLL_MS - 1);
    EXPECT_LE(progress.asked, 1000 / CLink::STALL_POLL_MS + 1);
    EXPECT_EQ(rig.cable.GetDataRegister(), 2) << "a time-out leaves its line pulled";

    CLinkExchange next(rig.link, 232, "", 0);
    progress.asked = 0;
    progress.cancelAtQuestion = 2;
    const uint64_t start = rig.clock.Peek();
    EXPECT_FALSE(rig.link.SendByte(0x01));
    EXPECT_LT(rig.clock.Peek() - start, 2 * CLink::STALL_POLL_MS);
    EXPECT_TRUE(rig.link.WasCancelled());
    EXPECT_EQ(rig.cable.GetDataRegister(), 3);
}
