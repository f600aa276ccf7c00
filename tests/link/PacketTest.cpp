#include "link/Packets.h"
#include "LinkRig.h"
#include "sim/CalcLinkEnd.h"

#include <gtest/gtest.h>

TEST(Packets, DirectoryRequestPutsExactlyItsTwelveBytesOnTheCable)
{
    CCalcLinkEnd calc;
    CLinkRig rig(&calc);
    ASSERT_TRUE(rig.link.SendSequence(SEQ_DIR_REQ));
    const std::vector<uint8_t> expected = {0x09, 0xA2, 0x06, 0x00, 0x00, 0x00,
                                           0x00, 0x00, 0x19, 0x00, 0x19, 0x00};
    EXPECT_EQ(calc.GetReceived(), expected);
    EXPECT_EQ(SEQ_CTS[3], 0xFF);
    EXPECT_EQ(SEQ_CTS[4], 0xFF);
}

TEST(Packets, ExpectSequenceStopsAtTheErrorCommand)
{
    CCalcLinkEnd calc;
    calc.QueueBytes({0x89, 0x5A, 0x00, 0x00});
    CLinkRig rig(&calc);
    EXPECT_FALSE(rig.link.ExpectSequence(SEQ_CALC_ACK));
    // Two bytes read, the other two still waiting at the calculator.
    EXPECT_EQ(calc.GetBitsMoved(), 16u);

    // 0x5A at index 1 fails even when the expected sequence itself holds it.
    CCalcLinkEnd calc2;
    calc2.QueueBytes({0x89, 0x5A});
    CLinkRig rig2(&calc2);
    const uint8_t expectsError[] = {2, 0x89, 0x5A};
    EXPECT_FALSE(rig2.link.ExpectSequence(expectsError));
}

TEST(Packets, ExpectSequenceFailsAtTheFirstDifferentByte)
{
    CCalcLinkEnd calc;
    calc.QueueBytes({0x89, 0x56, 0x01, 0x00});
    CLinkRig rig(&calc);
    EXPECT_FALSE(rig.link.ExpectSequence(SEQ_CALC_ACK));
    EXPECT_EQ(calc.GetBitsMoved(), 24u);

    CCalcLinkEnd good;
    good.QueueBytes({0x89, 0x56, 0x00, 0x00});
    CLinkRig rig2(&good);
    EXPECT_TRUE(rig2.link.ExpectSequence(SEQ_CALC_ACK));
}

TEST(Packets, EmptyAndFullCountedSequences)
{
    CCalcLinkEnd calc;
    CLinkRig rig(&calc);
    const uint8_t empty[] = {0};
    EXPECT_TRUE(rig.link.SendSequence(empty));
    EXPECT_TRUE(rig.link.ExpectSequence(empty));
    EXPECT_EQ(rig.cable.GetReadCount() + rig.cable.GetWriteCount(), 0u);

    uint8_t full[256];
    full[0] = 255;
    for (int i = 1; i <= 255; ++i)
        full[i] = static_cast<uint8_t>(i * 7);
    ASSERT_TRUE(rig.link.SendSequence(full));
    ASSERT_EQ(calc.GetReceived().size(), 255u);
    EXPECT_TRUE(std::equal(calc.GetReceived().begin(), calc.GetReceived().end(), full + 1));

    CCalcLinkEnd echo;
    echo.QueueBytes(std::vector<uint8_t>(full + 1, full + 256));
    CLinkRig rig2(&echo);
    EXPECT_TRUE(rig2.link.ExpectSequence(full));
}

TEST(Packets, SendBufferStopsAtTheFirstFailure)
{
    CCalcLinkEnd calc;
    calc.GoSilentAfterBits(8 * 3 + 4);
    CLinkRig rig(&calc);
    const uint8_t data[] = {1, 2, 3, 4, 5};
    EXPECT_FALSE(rig.link.SendBuffer(data, 5));
    EXPECT_EQ(calc.GetReceived().size(), 3u);
    EXPECT_TRUE(rig.link.SendBuffer(data, 0));
}

TEST(Packets, Checksums)
{
    const uint8_t checksum[] = {0x19, 0x00};
    EXPECT_TRUE(CLink::VerifyChecksum(0x0032, checksum));
    EXPECT_FALSE(CLink::VerifyChecksum(0x0033, checksum));
    // The sum wraps at 65536 on both sides.
    const uint8_t wrapped[] = {0xFF, 0xFF};
    EXPECT_TRUE(CLink::VerifyChecksum(static_cast<uint16_t>(0xFFFF + 0xFF + 0xFF), wrapped));

    const uint8_t dirData[] = {0, 0, 0, 0, 0x19, 0};
    EXPECT_EQ(MakeChecksum(dirData, sizeof dirData), 0x0019);
    std::vector<uint8_t> big(300, 0xFF);
    EXPECT_EQ(MakeChecksum(big.data(), big.size()), static_cast<uint16_t>(300 * 0xFF));

    const auto packet = MakeCountedPacket(MACHINE_PC, CMD_REQ, {0, 0, 0, 0, 0x19, 0});
    EXPECT_TRUE(std::equal(packet.begin(), packet.end(), SEQ_DIR_REQ));
    EXPECT_TRUE(MakeCountedPacket(MACHINE_PC, CMD_DATA, std::vector<uint8_t>(250)).empty());
}
