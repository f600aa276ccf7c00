#include "LinkRig.h"
#include "TempFolder.h"
#include "transfer/BackupExchange.h"
#include "transfer/BackupFile.h"
#include "TransferScript.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A header packet from the PC: size, type, name length, name.
Bytes PcHeader(uint8_t command, uint32_t size, const std::string& name)
{
    const Bytes data = Join({static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8),
                             static_cast<uint8_t>(size >> 16), static_cast<uint8_t>(size >> 24), VAR_BACKUP,
                             static_cast<uint8_t>(name.size())},
                            Bytes(name.begin(), name.end()));
    Bytes packet = Join({MACHINE_PC, command, static_cast<uint8_t>(data.size()), 0}, data);
    AppendLittleEndian16(packet, MakeChecksum(data.data(), data.size()));
    return packet;
}

Bytes BlockHeader(uint16_t size, const std::string& rom)
{
    return CalcPacket(CMD_VAR, Join({static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8), 0, 0, VAR_BACKUP,
                                     static_cast<uint8_t>(rom.size())},
                                    Bytes(rom.begin(), rom.end())));
}

} // namespace

TEST(BackupFile, TheSampleIsReadWholeAndOurWriterLaysItOutTheSameWay)
{
    const Bytes sample = ReadBytes(SamplePath("backup.92b"));
    BackupImage image;
    ASSERT_EQ(ReadBackupFile(sample, image), BackupFileCheck::Ok);
    EXPECT_EQ(image.romVersion, "1.11");
    EXPECT_EQ(image.data.size(), 57290u);

    // Byte for byte the same file, but for the comment the other program
    // wrote into it.
    Bytes expected = sample;
    std::fill(expected.begin() + 18, expected.begin() + 58, 0);
    EXPECT_EQ(BuildBackupFile(image), expected);
    BackupImage back;
    ASSERT_EQ(ReadBackupFile(BuildBackupFile(image), back), BackupFileCheck::Ok);
    EXPECT_EQ(back.data, image.data);
    EXPECT_EQ(back.romVersion, "1.11");
}

TEST(BackupExchange, ABackupOfTwoBlocksIsEveryPacketOfTheExchange)
{
    CScriptedCablePeer calc;
    CLinkRig rig(&calc);
    const Bytes first = Contents(300, 3);
    const Bytes second = Contents(17, 9);
    const std::string request = "main\\backup";
    calc.Expect(Join({MACHINE_PC, CMD_REQ, 17, 0, 0, 0, 0, 0, VAR_BACKUP, 11},
                     Concat({Bytes(request.begin(), request.end()), {0x9F, 0x04}})))
        .Send(CALC_ACK)
        .Send(BlockHeader(300, "1.11"))
        .Expect(Concat({Seq(SEQ_ACK), Seq(SEQ_CTS)}))
        .Send(CALC_ACK)
        .Send(CalcPacket(CMD_DATA, Join({0, 0, 0, 0}, first)))
        .Expect(Seq(SEQ_ACK))
        .Send(BlockHeader(17, "1.11"))
        .Expect(Concat({Seq(SEQ_ACK), Seq(SEQ_CTS)}))
        .Send(CALC_ACK)
        .Send(CalcPacket(CMD_DATA, Join({0, 0, 0, 0}, second)))
        .Expect(Seq(SEQ_ACK))
        .Send(CALC_EOT)
        .Expect(Seq(SEQ_ACK));

    BackupImage image;
    EXPECT_EQ(CBackupExchange(rig.link).Backup(image), ExchangeResult::Done);
    EXPECT_EQ(image.romVersion, "1.11");
    EXPECT_EQ(image.data, Concat({first, second}));
    EXPECT_TRUE(calc.Finished());
    EXPECT_EQ(calc.Deviations(), 0);
}

TEST(BackupExchange, ARestoreOf2048BytesSendsExactlyTwoBlocks)
{
    CScriptedCablePeer calc;
    CLinkRig rig(&calc);
    const Bytes data = Contents(2048, 5);
    calc.Expect(PcHeader(CMD_VAR, 2048, "1.11")).Send(CALC_ACK);
    for (size_t offset = 0; offset < data.size(); offset += 1024) {
        const Bytes block(data.begin() + static_cast<std::ptrdiff_t>(offset),
                          data.begin() + static_cast<std::ptrdiff_t>(offset + 1024));
        calc.Expect(PcHeader(CMD_VAR, 1024, "1.11"))
            .Send(CALC_ACK)
            .Send(CALC_CTS)
            .Expect(Concat({Seq(SEQ_ACK), PcDataPacket(block)}))
            .Send(CALC_ACK);
    }
    calc.Expect(Seq(SEQ_EOT)).Send(CALC_ACK);

    EXPECT_EQ(CBackupExchange(rig.link).Restore({"1.11", data}), ExchangeResult::Done);
    EXPECT_TRUE(calc.Finished());
    EXPECT_EQ(calc.Deviations(), 0);
}

TEST(BackupExchange, ABlockOfAnotherLengthThanItsHeaderAnnouncedFailsTheBackup)
{
    // Each packet's own sum agrees: only the header's size tells the lie.
    struct Case {
        const char* what;
        uint32_t announced;
        size_t sent;
    } const cases[] = {
        {"short", 300, 299},
        {"long", 300, 301},
        {"empty", 300, 0},
        {"announcing 0xFFFFFFFF bytes", 0xFFFFFFFF, 300},
    };
    for (const Case& c : cases) {
        CScriptedCablePeer calc;
        CLinkRig rig(&calc);
        const Bytes header = CalcPacket(
            CMD_VAR, Join({static_cast<uint8_t>(c.announced), static_cast<uint8_t>(c.announced >> 8),
                           static_cast<uint8_t>(c.announced >> 16), static_cast<uint8_t>(c.announced >> 24),
                           VAR_BACKUP, 4},
                          {'1', '.', '1', '1'}));
        calc.Expect(Seq(CBackupExchange::BuildBackupRequest().data()))
            .Send(CALC_ACK)
            .Send(header)
            .Expect(Concat({Seq(SEQ_ACK), Seq(SEQ_CTS)}))
            .Send(CALC_ACK)
            .Send(CalcPacket(CMD_DATA, Join({0, 0, 0, 0}, Contents(c.sent, 3))));

        BackupImage image{"x", {1}};
        EXPECT_EQ(CBackupExchange(rig.link).Backup(image), ExchangeResult::Failed) << c.what;
        EXPECT_TRUE(image.data.empty()) << c.what;
        EXPECT_TRUE(calc.Finished()) << c.what;
    }
}
