#include "LinkRig.h"
#include "sim/CalcLinkEnd.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Only the data register values that carry a signal or a release.
std::vector<uint8_t> Writes(const CSimulatedCable& cable) { return cable.GetWrittenValues(); }

std::vector<uint8_t> ExpectedSendWrites(uint8_t value)
{
    std::vector<uint8_t> writes;
    for (int bit = 0; bit < 8; ++bit) {
        writes.push_back(((value >> bit) & 1) ? 2 : 1);
        writes.push_back(3);
    }
    return writes;
}

// A calculator end driven by a test function on every port access.
class CLambdaPeer final : public ICablePeer {
public:
    std::function<void(CSimulatedCable&)> step;
    void Step(CSimulatedCable& cable) override { step(cable); }
};

} // namespace

TEST(CableByte, SentBitsTravelLeastSignificantFirstOnTheirLines)
{
    for (uint8_t value : {uint8_t{0x01}, uint8_t{0x00}, uint8_t{0xFF}, uint8_t{0xA5}}) {
        CCalcLinkEnd calc;
        CLinkRig rig(&calc);
        rig.cable.SetLogging(true);

        ASSERT_TRUE(rig.link.SendByte(value));
        EXPECT_EQ(Writes(rig.cable), ExpectedSendWrites(value)) << int(value);
        ASSERT_EQ(calc.GetReceived().size(), 1u);
        EXPECT_EQ(calc.GetReceived()[0], value);
        EXPECT_EQ(rig.cable.GetDataRegister(), 3);
        // Two writes, one poll per wait and ten pause reads per bit.
        EXPECT_EQ(rig.cable.GetWriteCount(), 16u);
        EXPECT_EQ(rig.cable.GetReadCount(), 8u * 12u);
    }
}

TEST(CableByte, ReceivesWhatTheCalculatorSignals)
{
    for (uint8_t value : {uint8_t{0x01}, uint8_t{0x80}, uint8_t{0x00}, uint8_t{0xFF}, uint8_t{0x5C}}) {
        CCalcLinkEnd calc;
        CLinkRig rig(&calc);
        rig.cable.SetLogging(true);
        calc.QueueByte(value);

        uint8_t received = 0xEE;
        ASSERT_TRUE(rig.link.ReceiveByte(received));
        EXPECT_EQ(received, value);
        // Each bit is acknowledged on the other line, then both released.
        std::vector<uint8_t> expected;
        for (int bit = 0; bit < 8; ++bit) {
            expected.push_back(((value >> bit) & 1) ? 1 : 2);
            expected.push_back(3);
        }
        EXPECT_EQ(Writes(rig.cable), expected);
        EXPECT_EQ(rig.cable.GetReadCount() + rig.cable.GetWriteCount(), 32u);
    }
}

TEST(CableByte, BothLinesPulledIsTakenAsAZeroBit)
{
    // The calculator pulls both lines for the first bit and lets go once the
    // PC acknowledges; later bits come from an ordinary sender of 0xFE >> 1.
    CLambdaPeer peer;
    int stage = 0;
    CCalcLinkEnd rest;
    rest.QueueByte(0x7F); // seven 1 bits after the first
    peer.step = [&](CSimulatedCable& cable) {
        if (stage == 0) {
            cable.SetCalcPulls(true, true);
            if (cable.PcPullsD0()) // the PC acknowledged a 0 bit on line D0
                stage = 1;
            return;
        }
        if (stage == 1) {
            cable.SetCalcPulls(false, false);
            if (!cable.PcPullsD0())
                stage = 2;
            return;
        }
        rest.Step(cable);
    };
    CLinkRig rig(&peer);
    uint8_t value = 0;
    ASSERT_TRUE(rig.link.ReceiveByte(value));
    // Bit 0 was 0, then the seven low bits of 0x7F shifted in above it.
    EXPECT_EQ(value, 0xFE);
}

TEST(CableByte, WaitFailsOnlyWhenElapsedTimeExceedsTheTimeOut)
{
    // The calculator never answers. With a step of 1 ms per clock reading a
    // wait polls while elapsed <= 1000 and fails at 1001.
    CLinkRig rig(nullptr);
    rig.clock.Set(59'900);
    rig.cable.SetLogging(true);
    EXPECT_FALSE(rig.link.SendByte(0x01));
    // One write, then polls at elapsed 1..1000 (the reading at 0 is the start).
    EXPECT_EQ(rig.cable.GetWriteCount(), 1u);
    EXPECT_EQ(rig.cable.GetReadCount(), 1000u);
    EXPECT_EQ(rig.cable.GetDataRegister(), 2) << "line D0 stays pulled after the failure";

    CLinkRig zero(nullptr);
    EXPECT_FALSE(zero.link.SendByte(0x00));
    EXPECT_EQ(zero.cable.GetDataRegister(), 1);
}

TEST(CableByte, ElapsedTimeEqualToTheTimeOutStillPolls)
{
    // Clock readings 1000 ms apart: the first poll comes at exactly the
    // time-out and still reads the port; the next is past it and fails.
    CLinkRig equal(nullptr);
    equal.clock.SetStep(1000);
    EXPECT_FALSE(equal.link.SendByte(0x01));
    EXPECT_EQ(equal.cable.GetReadCount(), 1u);

    CLinkRig greater(nullptr);
    greater.clock.SetStep(1001);
    EXPECT_FALSE(greater.link.SendByte(0x01));
    EXPECT_EQ(greater.cable.GetReadCount(), 0u);
}

TEST(CableByte, SilentCalculatorFailsReceiveAfterOneTimeOut)
{
    CCalcLinkEnd calc;
    calc.QueueByte(0xAA);
    calc.GoSilentAfterBits(3);
    CLinkRig rig(&calc);
    uint8_t value = 0;
    EXPECT_FALSE(rig.link.ReceiveByte(value));
    // Three bits arrived, then the wait for the fourth ran out.
    EXPECT_EQ(value, 0x40);
    EXPECT_LE(rig.clock.Peek(), 1100u);
}

TEST(CableByte, ClosedPortLooksLikeBothLinesPulledAndTimesOut)
{
    CLinkRig rig(nullptr);
    rig.link.Close();
    EXPECT_FALSE(rig.link.SendByte(0xFF));
    uint8_t value = 0;
    EXPECT_FALSE(rig.link.ReceiveByte(value));
    EXPECT_EQ(rig.cable.GetReadCount() + rig.cable.GetWriteCount(), 0u);
}
