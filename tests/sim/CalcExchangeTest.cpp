#include "LinkRig.h"
#include "PcScripts.h"
#include "sim/VirtualCalculator.h"

#include <gtest/gtest.h>

using pc::Bytes;

namespace {

// main holds the string a ("hi", listed size 7) and the integer b (5, size 5).
struct SmallCalculator {
    SmallCalculator()
    {
        calc.AddVariable("main", "a", 0x0C, 0x00, {0x00, 0x68, 0x69, 0x00, 0x2D});
        calc.AddVariable("main", "b", 0x00, 0x00, {0x05, 0x01, 0x1F});
    }
    CVirtualCalculator calc;
    CLinkRig rig{&calc};
    CLink& link = rig.link;
};

const Bytes CALC_ACK{0x89, 0x56, 0x00, 0x00};
const Bytes CALC_ERROR{0x89, 0x5A, 0x00, 0x00};

} // namespace

TEST(CalcExchange, ReadyCheckIsAcknowledged)
{
    SmallCalculator s;
    ASSERT_TRUE(pc::Send(s.link, Bytes{0x09, 0x68, 0x00, 0x00}));
    EXPECT_EQ(pc::Receive(s.link, 4), CALC_ACK);
    EXPECT_TRUE(s.calc.IsIdle());
}

TEST(CalcExchange, DirectoryListingByteForByte)
{
    SmallCalculator s;
    CLink& link = s.link;
    ASSERT_TRUE(pc::Send(link, Bytes{0x09, 0x68, 0x00, 0x00}));
    EXPECT_EQ(pc::Receive(link, 4), CALC_ACK);
    ASSERT_TRUE(pc::Send(link, Bytes{0x09, 0xA2, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00, 0x19, 0x00, 0x19, 0x00}));
    EXPECT_EQ(pc::Receive(link, 4), CALC_ACK);
    // Three entries of 18 bytes: 54 bytes, of the directory type.
    EXPECT_EQ(pc::Receive(link, 12), (Bytes{0x89, 0x06, 0x06, 0x00, 0x36, 0, 0, 0, 0x19, 0x00, 0x4F, 0x00}));

    const Bytes entries[3] = {
        {0x89, 0x15, 0x12, 0x00, 0, 0, 0, 0, 'm', 'a', 'i', 'n', 0, 0, 0, 0, 0x1F, 0x00, 0x0C, 0, 0, 0, 0xD0, 0x01},
        {0x89, 0x15, 0x12, 0x00, 0, 0, 0, 0, 'a', 0, 0, 0, 0, 0, 0, 0, 0x0C, 0x00, 0x07, 0, 0, 0, 0x74, 0x00},
        {0x89, 0x15, 0x12, 0x00, 0, 0, 0, 0, 'b', 0, 0, 0, 0, 0, 0, 0, 0x00, 0x00, 0x05, 0, 0, 0, 0x67, 0x00},
    };
    const Bytes closings[3] = {{0x89, 0x78, 0, 0}, {0x89, 0x78, 0, 0}, {0x89, 0x92, 0, 0}};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(pc::Send(link, Bytes{0x09, 0x56, 0x00, 0x00, 0x09, 0x09, 0xFF, 0xFF}));
        EXPECT_EQ(pc::Receive(link, 4), CALC_ACK) << i;
        EXPECT_EQ(pc::Receive(link, 24), entries[i]) << i;
        ASSERT_TRUE(pc::Send(link, Bytes{0x09, 0x56, 0x00, 0x00}));
        EXPECT_EQ(pc::Receive(link, 4), closings[i]) << i;
    }
    ASSERT_TRUE(pc::Send(link, Bytes{0x09, 0x56, 0x00, 0x00}));
    EXPECT_TRUE(s.calc.IsIdle());
    EXPECT_EQ(s.calc.GetErrorsAnswered(), 0u);
}

TEST(CalcExchange, VariableRequestByteForByte)
{
    SmallCalculator s;
    CLink& link = s.link;
    ASSERT_TRUE(pc::Send(link, SEQ_RDY));
    ASSERT_TRUE(link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_TRUE(pc::Send(link, Bytes{0x09, 0xA2, 0x0C, 0x00, 0, 0, 0, 0, 0x0C, 0x06, 'm', 'a', 'i', 'n', '\\', 'a',
                                     0x74, 0x02}));
    EXPECT_EQ(pc::Receive(link, 4), CALC_ACK);
    // Size V + 2, type, name length, name.
    EXPECT_EQ(pc::Receive(link, 13), (Bytes{0x89, 0x06, 0x07, 0x00, 0x07, 0, 0, 0, 0x0C, 0x01, 'a', 0x75, 0x00}));
    ASSERT_TRUE(pc::Send(link, Bytes{0x09, 0x56, 0x00, 0x00, 0x09, 0x09, 0xFF, 0xFF}));
    EXPECT_EQ(pc::Receive(link, 4), CALC_ACK);
    EXPECT_EQ(pc::Receive(link, 17),
              (Bytes{0x89, 0x15, 0x0B, 0x00, 0, 0, 0, 0, 0x00, 0x05, 0x00, 0x68, 0x69, 0x00, 0x2D, 0x03, 0x01}));
    ASSERT_TRUE(pc::Send(link, Bytes{0x09, 0x56, 0x00, 0x00}));
    EXPECT_EQ(pc::Receive(link, 4), (Bytes{0x89, 0x92, 0x00, 0x00}));
    ASSERT_TRUE(pc::Send(link, Bytes{0x09, 0x56, 0x00, 0x00}));
    EXPECT_TRUE(s.calc.IsIdle());
    EXPECT_EQ(s.calc.GetErrorsAnswered(), 0u);
}

TEST(CalcExchange, VariableItDoesNotHoldIsRefused)
{
    SmallCalculator s;
    for (const std::string path : {"main\\zz", "other\\a", "main\\", "a\\b\\c"}) {
        ASSERT_TRUE(pc::Send(s.link, SEQ_RDY));
        ASSERT_TRUE(s.link.ExpectSequence(SEQ_CALC_ACK));
        ASSERT_TRUE(pc::Send(s.link, pc::Packet(CMD_REQ, pc::VariableHeader(0, 0x0C, path))));
        EXPECT_EQ(pc::Receive(s.link, 4), CALC_ERROR) << path;
        EXPECT_TRUE(s.calc.IsIdle());
    }
    // A bare name is looked for in main.
    EXPECT_TRUE(pc::RequestVariable(s.link, "b", 0x00).has_value());
}

TEST(CalcExchange, VariableAnnouncementByteForByte)
{
    SmallCalculator s;
    CLink& link = s.link;
    const Bytes contents{1, 2, 3, 4, 5, 6, 7, 8, 0x08, 0x1F};
    ASSERT_TRUE(pc::Send(link, SEQ_RDY));
    ASSERT_TRUE(link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_TRUE(pc::Send(link, Bytes{0x09, 0x06, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x06, 0x6D, 0x61, 0x69,
                                     0x6E, 0x5C, 0x78, 0x8F, 0x02}));
    EXPECT_EQ(pc::Receive(link, 8), (Bytes{0x89, 0x56, 0x00, 0x00, 0x89, 0x09, 0x00, 0x00}));
    ASSERT_TRUE(pc::Send(link, Bytes{0x09, 0x56, 0x00, 0x00}));
    ASSERT_TRUE(pc::Send(link, Bytes{0x09, 0x15, 0x10, 0x00, 0, 0, 0, 0, 0x00, 0x0A, 1, 2, 3, 4, 5, 6, 7, 8, 0x08,
                                     0x1F, 0x55, 0x00}));
    EXPECT_EQ(pc::Receive(link, 4), CALC_ACK);
    ASSERT_TRUE(pc::Send(link, Bytes{0x09, 0x92, 0x00, 0x00}));
    EXPECT_EQ(pc::Receive(link, 4), CALC_ACK);

    const SimVariable* stored = s.calc.FindVariable("main", "x");
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->type, 0x00);
    EXPECT_EQ(stored->contents, contents);
    EXPECT_TRUE(s.calc.IsIdle());
}

TEST(CalcExchange, AnnouncementSizeMayOmitTheLeadingBytesAndCreatesTheFolder)
{
    SmallCalculator s;
    const Bytes contents{0x00, 'o', 'k', 0x00, 0x2D};
    // Size V + 2 instead of V + 6: the data packet decides.
    ASSERT_TRUE(pc::Send(s.link, SEQ_RDY));
    ASSERT_TRUE(s.link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_TRUE(pc::Send(s.link, pc::Packet(CMD_VAR, pc::VariableHeader(7, 0x0C, "newdir\\greeting"))));
    ASSERT_TRUE(s.link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_TRUE(s.link.ExpectSequence(SEQ_CALC_CTS));
    ASSERT_TRUE(pc::Send(s.link, SEQ_ACK));
    ASSERT_TRUE(pc::Send(s.link, pc::Packet(CMD_DATA, pc::Section(contents))));
    ASSERT_TRUE(s.link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_TRUE(pc::Send(s.link, SEQ_EOT));
    ASSERT_TRUE(s.link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_NE(s.calc.FindVariable("newdir", "greeting"), nullptr);
    EXPECT_EQ(s.calc.FindVariable("newdir", "greeting")->contents, contents);
    EXPECT_EQ(s.calc.Memory().GetFolders().back().name, "newdir");
    // Its home screen counts what it holds now.
    SimScreen shown = s.calc.Screen();
    s.calc.DrawHomeScreen();
    EXPECT_EQ(shown, s.calc.Screen());

    // Sending a of another type replaces it where it stands.
    ASSERT_TRUE(pc::SendVariable(s.link, "main\\a", 0x00, pc::Section({0x07, 0x01, 0x1F})));
    const auto& mainVars = s.calc.Memory().GetFolders().front().variables;
    ASSERT_EQ(mainVars.size(), 2u);
    EXPECT_EQ(mainVars[0].name, "a");
    EXPECT_EQ(mainVars[0].type, 0x00);
    EXPECT_EQ(mainVars[0].contents, (Bytes{0x07, 0x01, 0x1F}));
}

TEST(CalcExchange, ScreenByteForByteWithoutWaitingForAnAcknowledgement)
{
    SmallCalculator s;
    uint16_t sum = 0;
    for (size_t i = 0; i < s.calc.Screen().size(); ++i) {
        s.calc.Screen()[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
        sum = static_cast<uint16_t>(sum + s.calc.Screen()[i]);
    }
    ASSERT_TRUE(pc::Send(s.link, Bytes{0x09, 0x6D, 0x00, 0x00}));
    EXPECT_EQ(pc::Receive(s.link, 4), CALC_ACK);
    EXPECT_EQ(pc::Receive(s.link, 4), (Bytes{0x89, 0x15, 0x00, 0x0F}));
    const Bytes data = pc::Receive(s.link, 3840);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), s.calc.Screen().begin(), s.calc.Screen().end()));
    EXPECT_EQ(pc::Receive(s.link, 2), (Bytes{static_cast<uint8_t>(sum & 0xFF), static_cast<uint8_t>(sum >> 8)}));

    // No acknowledgement: the next exchange starts at once.
    ASSERT_TRUE(pc::Send(s.link, SEQ_SCREEN));
    ASSERT_TRUE(s.link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_EQ(pc::ReceiveDataPacket(s.link).size(), 3846u);
    // An acknowledgement is taken without a word.
    ASSERT_TRUE(pc::Send(s.link, SEQ_ACK));
    ASSERT_TRUE(pc::Send(s.link, SEQ_RDY));
    EXPECT_EQ(pc::Receive(s.link, 4), CALC_ACK);
    EXPECT_EQ(s.calc.GetErrorsAnswered(), 0u);
}

TEST(CalcExchange, ClearToSendWithZeroLengthIsAcceptedToo)
{
    SmallCalculator s;
    const uint8_t ctsZero[] = {4, 0x09, 0x09, 0x00, 0x00};
    ASSERT_TRUE(pc::Send(s.link, SEQ_RDY));
    ASSERT_TRUE(s.link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_TRUE(pc::Send(s.link, pc::Packet(CMD_REQ, pc::VariableHeader(0, 0x00, "main\\b"))));
    ASSERT_TRUE(s.link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_TRUE(pc::ChecksumHolds(pc::ReceiveDataPacket(s.link)));
    ASSERT_TRUE(pc::Send(s.link, SEQ_ACK));
    ASSERT_TRUE(pc::Send(s.link, ctsZero));
    EXPECT_TRUE(s.link.ExpectSequence(SEQ_CALC_ACK));
    EXPECT_EQ(pc::ReceiveDataPacket(s.link), (Bytes{0x89, 0x15, 0x09, 0x00, 0, 0, 0, 0, 0, 3, 0x05, 0x01, 0x1F, 0x28, 0}));
}

TEST(CalcExchange, BadOrUnexpectedPacketsGetTheErrorPacketAndLeaveItIdle)
{
    SmallCalculator s;
    Bytes badChecksum = pc::Packet(CMD_VAR, pc::VariableHeader(9, 0x0C, "main\\q"));
    badChecksum.back() ^= 0x01;
    const Bytes cases[] = {
        badChecksum,
        {0x09, 0x92, 0x00, 0x00},                                // EOT with nothing to end
        {0x09, 0x56, 0x00, 0x00},                                // ACK with nothing to acknowledge
        {0x09, 0x68, 0x01, 0x00},                                // a ready check that claims data
        {0x08, 0x68, 0x00, 0x00},                                // not from the PC
        {0x09, 0x33, 0x00, 0x00},                                // no such command
        pc::Packet(CMD_DATA, pc::Section({1, 2, 3})),            // data never announced
        pc::Packet(CMD_VAR, pc::VariableHeader(9, 0x1F, "main\\f")), // folder type
        pc::Packet(CMD_VAR, pc::VariableHeader(9, 0x0C, "main\\toolongname")),
    };
    uint64_t errors = 0;
    for (const Bytes& packet : cases) {
        ASSERT_TRUE(pc::Send(s.link, packet));
        EXPECT_EQ(pc::Receive(s.link, 4), CALC_ERROR) << int(packet[1]);
        EXPECT_EQ(s.calc.GetErrorsAnswered(), ++errors);
        EXPECT_TRUE(s.calc.IsIdle());
    }
    // Still working: a whole listing goes through.
    EXPECT_TRUE(pc::ListDirectory(s.link).has_value());
}

TEST(CalcExchange, OutOfOrderPacketInsideAnExchangeIsRefused)
{
    SmallCalculator s;
    ASSERT_TRUE(pc::Send(s.link, SEQ_RDY));
    ASSERT_TRUE(s.link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_TRUE(pc::Send(s.link, SEQ_DIR_REQ));
    ASSERT_TRUE(s.link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_FALSE(pc::ReceiveDataPacket(s.link).empty());
    // CTS before ACK.
    ASSERT_TRUE(pc::Send(s.link, SEQ_CTS));
    EXPECT_EQ(pc::Receive(s.link, 4), CALC_ERROR);
    EXPECT_TRUE(s.calc.IsIdle());

    // A data packet whose length word disagrees with what came is not stored.
    ASSERT_TRUE(pc::Send(s.link, SEQ_RDY));
    ASSERT_TRUE(s.link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_TRUE(pc::Send(s.link, pc::Packet(CMD_VAR, pc::VariableHeader(9, 0x0C, "main\\q"))));
    ASSERT_TRUE(s.link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_TRUE(s.link.ExpectSequence(SEQ_CALC_CTS));
    ASSERT_TRUE(pc::Send(s.link, SEQ_ACK));
    Bytes section = pc::Section({0x00, 'q', 0x00, 0x2D});
    section[5] = 5;
    ASSERT_TRUE(pc::Send(s.link, pc::Packet(CMD_DATA, section)));
    EXPECT_EQ(pc::Receive(s.link, 4), CALC_ERROR);
    EXPECT_EQ(s.calc.FindVariable("main", "q"), nullptr);
}

TEST(CalcExchange, ReadyCheckAbandonsAnUnfinishedExchange)
{
    SmallCalculator s;
    ASSERT_TRUE(pc::Send(s.link, SEQ_RDY));
    ASSERT_TRUE(s.link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_TRUE(pc::Send(s.link, pc::Packet(CMD_REQ, pc::VariableHeader(0, 0x0C, "main\\a"))));
    ASSERT_TRUE(s.link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_FALSE(pc::ReceiveDataPacket(s.link).empty());
    EXPECT_FALSE(s.calc.IsIdle());
    // The PC gave up here; its next operation starts afresh.
    const auto entries = pc::ListDirectory(s.link);
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(entries->size(), 3u);
    EXPECT_EQ(s.calc.GetErrorsAnswered(), 0u);
}

TEST(CalcExchange, SentVariableComesBackIdentical)
{
    SmallCalculator s;
    Bytes contents(4000);
    for (size_t i = 0; i < contents.size(); ++i)
        contents[i] = static_cast<uint8_t>(i * 13 + 1);
    const Bytes section = pc::Section(contents);
    ASSERT_TRUE(pc::SendVariable(s.link, "work\\big", 0x0B, section));
    const auto back = pc::RequestVariable(s.link, "work\\big", 0x0B);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, section);

    // And the listing reports it under its folder with size V + 2.
    const auto entries = pc::ListDirectory(s.link);
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(entries->size(), 5u);
    EXPECT_EQ((*entries)[3].name, "work");
    EXPECT_EQ((*entries)[3].type, 0x1F);
    EXPECT_EQ((*entries)[4].name, "big");
    EXPECT_EQ((*entries)[4].size, 4002u);
}
