#include "link/Packets.h"
#include "LinkRig.h"
#include "sim/CablePace.h"
#include "sim/CalcLinkEnd.h"

#include <gtest/gtest.h>

namespace {

// Answers every four bytes received with a packet of its own, queued the
// moment the last byte is in.
class CAnsweringEnd final : public CCalcLinkEnd {
public:
    std::vector<uint8_t> answer;
    std::vector<uint8_t> heard;
    int resets = 0;

protected:
    void OnByteReceived(uint8_t value) override
    {
        heard.push_back(value);
        if (++m_nBytes % 4 == 0)
            QueueBytes(answer);
    }
    void OnLinkReset() override { ++resets; }

private:
    int m_nBytes = 0;
};

} // namespace

TEST(CalcLinkEnd, AnswerQueuedAtOnceWaitsForThePcToFinishItsLastBit)
{
    // The PC's last bit may be a 0 or a 1 and the answer's first bit either:
    // in every pairing the PC's send completes and the answer arrives whole.
    for (uint8_t last : {uint8_t{0x00}, uint8_t{0x80}}) {
        for (uint8_t first : {uint8_t{0x89}, uint8_t{0x08}}) {
            CAnsweringEnd calc;
            calc.answer = {first, 0x56, 0x00, 0x00};
            CLinkRig rig(&calc);
            const uint8_t packet[] = {4, 0x09, 0x68, 0x00, last};
            ASSERT_TRUE(rig.link.SendSequence(packet)) << int(last) << " " << int(first);
            const uint8_t expected[] = {4, first, 0x56, 0x00, 0x00};
            EXPECT_TRUE(rig.link.ExpectSequence(expected)) << int(last) << " " << int(first);
        }
    }
}

TEST(CalcLinkEnd, StalledBitIsDroppedAfterTheLimitSoThePcCanSpeakAgain)
{
    CAnsweringEnd calc;
    calc.SetStallLimit(50);
    calc.answer = {0x89, 0x5A, 0x00, 0x00};
    CLinkRig rig(&calc);
    ASSERT_TRUE(rig.link.SendSequence(SEQ_RDY));
    // The PC reads two bytes of the answer and walks away from the rest.
    uint8_t value = 0;
    ASSERT_TRUE(rig.link.ReceiveByte(value));
    ASSERT_TRUE(rig.link.ReceiveByte(value));
    EXPECT_TRUE(calc.HasPendingOutput());

    calc.heard.clear();
    EXPECT_TRUE(rig.link.SendSequence(SEQ_ACK));
    EXPECT_EQ(calc.resets, 1);
    EXPECT_EQ(calc.heard, (std::vector<uint8_t>{0x09, 0x56, 0x00, 0x00}));
}

TEST(CalcLinkEnd, WithoutALimitAStalledBitWaitsForever)
{
    CAnsweringEnd calc;
    calc.answer = {0x89, 0x5A, 0x00, 0x00};
    CLinkRig rig(&calc);
    ASSERT_TRUE(rig.link.SendSequence(SEQ_RDY));
    uint8_t value = 0;
    ASSERT_TRUE(rig.link.ReceiveByte(value));
    // The second byte's first bit (a 0, on line D1) is already waiting; the
    // PC's 1 bit on line D0 is taken for its acknowledgement and then both
    // ends wait for each other.
    EXPECT_FALSE(rig.link.SendByte(0x09));
    EXPECT_EQ(calc.resets, 0);
}

TEST(CalcLinkEnd, APacedEndMovesNoMoreBitsEitherWayThanItsRateAllows)
{
    // 1000 bytes a second: 8 bits a millisecond, 10 ms' worth at once.
    CFakeClock paceClock;
    CCablePace pace(1000, paceClock);
    CCalcLinkEnd calc;
    calc.SetPace(&pace);
    CLinkRig rig(&calc);
    const auto sendsUntilHeldBack = [&] {
        int sent = 0;
        while (rig.link.SendByte(0xA5))
            ++sent;
        // The byte that was held back left the PC's line pulled.
        rig.link.ReleaseLines();
        return sent;
    };
    EXPECT_EQ(sendsUntilHeldBack(), 10);
    EXPECT_EQ(calc.GetBitsMoved(), 80u);
    paceClock.Advance(3);
    EXPECT_EQ(sendsUntilHeldBack(), 3);

    calc.QueueBytes({0x12, 0x34});
    uint8_t value = 0;
    paceClock.Advance(1);
    EXPECT_TRUE(rig.link.ReceiveByte(value));
    EXPECT_EQ(value, 0x12);
    EXPECT_FALSE(rig.link.ReceiveByte(value));
    paceClock.Advance(100);
    EXPECT_TRUE(rig.link.ReceiveByte(value));
    EXPECT_EQ(value, 0x34);
    EXPECT_EQ(calc.GetBitsMoved(), 8u * 15);
}
