#include "LinkRig.h"
#include "PcScripts.h"
#include "sim/VirtualCalculator.h"

#include <gtest/gtest.h>

using pc::Bytes;

namespace {

struct Rigged {
    Rigged() { calc.LoadSampleContent(); }
    CVirtualCalculator calc;
    CLinkRig rig{&calc};
    CLink& link = rig.link;

    // Ready check and directory request acknowledged, first reply read: the
    // calculator has sent 3 packets; the next ones are ACK, entry, CONT, ...
    void StartListing()
    {
        ASSERT_TRUE(pc::Send(link, SEQ_RDY));
        ASSERT_TRUE(link.ExpectSequence(SEQ_CALC_ACK));
        ASSERT_TRUE(pc::Send(link, SEQ_DIR_REQ));
        ASSERT_TRUE(link.ExpectSequence(SEQ_CALC_ACK));
        ASSERT_TRUE(pc::ChecksumHolds(pc::ReceiveDataPacket(link)));
    }
    void AskForEntry()
    {
        ASSERT_TRUE(pc::Send(link, SEQ_ACK));
        ASSERT_TRUE(pc::Send(link, SEQ_CTS));
        ASSERT_TRUE(link.ExpectSequence(SEQ_CALC_ACK));
    }
};

} // namespace

TEST(CalcFaults, FallingSilentMidByteIsATimeOutForThePc)
{
    Rigged r;
    r.StartListing();
    r.AskForEntry();
    // Header and 5 data bytes of the entry, then 3 bits of the sixth.
    r.calc.FallSilentAfterBytes(9, 3);
    EXPECT_EQ(pc::Receive(r.link, 9).size(), 9u);
    const uint64_t before = r.rig.clock.Peek();
    uint8_t value = 0;
    EXPECT_FALSE(r.link.ReceiveByte(value));
    EXPECT_GT(r.rig.clock.Peek() - before, r.link.GetTimeout());

    // Silent while the PC sends: the ready check's first bit is never acknowledged.
    Rigged quiet;
    quiet.calc.FallSilentAfterBytes(0);
    EXPECT_FALSE(quiet.link.SendByte(0x09));
    quiet.calc.ClearFaults();
    EXPECT_TRUE(pc::ListDirectory(quiet.link).has_value());
}

TEST(CalcFaults, ErrorAnswerAtAChosenPacketIsAMismatch)
{
    Rigged r;
    // Packet 2 is the acknowledgement of the request.
    r.calc.Faults().AnswerErrorAt(2);
    ASSERT_TRUE(pc::Send(r.link, SEQ_RDY));
    ASSERT_TRUE(r.link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_TRUE(pc::Send(r.link, pc::Packet(CMD_REQ, pc::VariableHeader(0, 0x0C, "main\\greeting"))));
    r.rig.cable.ResetCounts();
    EXPECT_FALSE(r.link.ExpectSequence(SEQ_CALC_ACK));
    EXPECT_TRUE(r.calc.IsIdle());
    EXPECT_EQ(r.calc.GetErrorsAnswered(), 0u) << "a planned fault, not a refusal";

    // The rest of the error packet is left unread; the next exchange still
    // goes through once the calculator gives up the half-sent byte.
    const auto variable = pc::RequestVariable(r.link, "main\\greeting", 0x0C);
    ASSERT_TRUE(variable.has_value());
    EXPECT_EQ(Bytes(variable->begin() + 6, variable->end()), r.calc.FindVariable("main", "greeting")->contents);
}

TEST(CalcFaults, CorruptedEntryChecksumIsSeenByThePc)
{
    Rigged r;
    r.StartListing();
    r.calc.Faults().CorruptChecksumAt(2); // ACK, then the entry
    r.AskForEntry();
    const Bytes entry = pc::ReceiveDataPacket(r.link);
    ASSERT_EQ(entry.size(), 24u);
    EXPECT_FALSE(pc::ChecksumHolds(entry));
    const uint16_t sum = MakeChecksum(entry.data() + 4, 18);
    EXPECT_EQ(entry[22] | (entry[23] << 8), sum + 1);
}

TEST(CalcFaults, ClosingPacketOtherThanEndOfTransmission)
{
    Rigged r;
    // Variable request: ACK, header, ACK, data, then the closing packet.
    r.calc.Faults().ReplaceCommandAt(6, CMD_CONT);
    ASSERT_TRUE(pc::Send(r.link, SEQ_RDY));
    ASSERT_TRUE(r.link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_TRUE(pc::Send(r.link, pc::Packet(CMD_REQ, pc::VariableHeader(0, 0x00, "main\\year"))));
    ASSERT_TRUE(r.link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_FALSE(pc::ReceiveDataPacket(r.link).empty());
    ASSERT_TRUE(pc::Send(r.link, SEQ_ACK));
    ASSERT_TRUE(pc::Send(r.link, SEQ_CTS));
    ASSERT_TRUE(r.link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_FALSE(pc::ReceiveDataPacket(r.link).empty());
    ASSERT_TRUE(pc::Send(r.link, SEQ_ACK));
    EXPECT_EQ(pc::Receive(r.link, 4), (Bytes{0x89, 0x78, 0x00, 0x00}));
    // The PC carries on with its acknowledgement, which the calculator takes.
    ASSERT_TRUE(pc::Send(r.link, SEQ_ACK));
    EXPECT_TRUE(r.calc.IsIdle());
    EXPECT_EQ(r.calc.GetErrorsAnswered(), 0u);

    // The last entry of a listing closed with something else fails the listing.
    Rigged d;
    const size_t entries = d.calc.Memory().CountEntries();
    d.calc.Faults().ReplaceCommandAt(static_cast<unsigned>(3 + 3 * entries), 0x00);
    EXPECT_FALSE(pc::ListDirectory(d.link).has_value());
    d.calc.ClearFaults();
    const auto listing = pc::ListDirectory(d.link);
    ASSERT_TRUE(listing.has_value());
    EXPECT_EQ(listing->size(), entries);
}

TEST(CalcFaults, ScreenAndEntryPacketsOfOtherLengths)
{
    for (uint16_t length : {uint16_t{0}, uint16_t{17}, uint16_t{3841}, uint16_t{65535}}) {
        Rigged r;
        r.calc.Faults().ResizeDataAt(2, length);
        ASSERT_TRUE(pc::Send(r.link, SEQ_SCREEN));
        ASSERT_TRUE(r.link.ExpectSequence(SEQ_CALC_ACK));
        const Bytes packet = pc::ReceiveDataPacket(r.link);
        ASSERT_EQ(packet.size(), length + 6u) << length;
        EXPECT_EQ(packet[2] | (packet[3] << 8), length);
        EXPECT_TRUE(pc::ChecksumHolds(packet));
        const size_t kept = std::min<size_t>(length, 3840);
        EXPECT_TRUE(std::equal(packet.begin() + 4, packet.begin() + 4 + static_cast<long>(kept), r.calc.Screen().begin()));
        EXPECT_TRUE(std::all_of(packet.begin() + 4 + static_cast<long>(kept), packet.end() - 2,
                                [](uint8_t b) { return b == 0; }));
    }

    Rigged r;
    r.StartListing();
    r.calc.Faults().ResizeDataAt(2, 17);
    r.AskForEntry();
    const Bytes entry = pc::ReceiveDataPacket(r.link);
    ASSERT_EQ(entry.size(), 4u + 17u + 2u);
    EXPECT_EQ(Bytes(entry.begin() + 8, entry.begin() + 12), (Bytes{'m', 'a', 'i', 'n'}));
}

TEST(CalcFaults, BothLinesHeldIsATimeOutForThePc)
{
    Rigged r;
    r.calc.HoldBothLines(true);
    EXPECT_FALSE(r.link.SendByte(0x09));
    uint8_t value = 0xEE;
    EXPECT_FALSE(r.link.ReceiveByte(value));
    r.calc.ClearFaults();
    EXPECT_TRUE(pc::ListDirectory(r.link).has_value());
}
