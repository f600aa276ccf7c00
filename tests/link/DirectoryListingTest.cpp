#include "link/DirectoryListing.h"
#include "link/Packets.h"
#include "link/VarTypes.h"
#include "LinkRig.h"
#include "ScriptedCablePeer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Seq(const uint8_t* counted)
{
    return Bytes(counted + 1, counted + 1 + counted[0]);
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

const Bytes CALC_ACK = Seq(SEQ_CALC_ACK);
const Bytes CONT_PACKET = {MACHINE_TI92, CMD_CONT, 0, 0};
const Bytes EOT_PACKET = {MACHINE_TI92, CMD_EOT, 0, 0};

// A calculator data packet around `data`; `sumDelta` spoils the checksum.
Bytes DataPacket(const Bytes& data, int sumDelta = 0)
{
    Bytes packet(PACKET_HEADER_SIZE + data.size());
    packet[0] = MACHINE_TI92;
    packet[1] = CMD_DATA;
    packet[2] = static_cast<uint8_t>(data.size() & 0xFF);
    packet[3] = static_cast<uint8_t>(data.size() >> 8);
    std::copy(data.begin(), data.end(), packet.begin() + PACKET_HEADER_SIZE);
    AppendLittleEndian16(packet, static_cast<uint16_t>(MakeChecksum(data.data(), data.size()) + sumDelta));
    return packet;
}

Bytes EntryData(const std::string& name, uint8_t type, uint8_t attr, uint32_t size)
{
    Bytes data(18, 0);
    for (size_t i = 0; i < name.size() && i < 8; ++i)
        data[4 + i] = static_cast<uint8_t>(name[i]);
    data[12] = type;
    data[13] = attr;
    for (int i = 0; i < 4; ++i)
        data[14 + i] = static_cast<uint8_t>(size >> (8 * i));
    return data;
}

Bytes Entry(const std::string& name, uint8_t type, uint32_t size = 0, uint8_t attr = 0)
{
    return DataPacket(EntryData(name, type, attr, size));
}

const Bytes FIRST_REPLY = DataPacket({0, 0, 0, 0, VAR_DIRLIST, 0});

// The PC's ready check and request with the calculator's answers.
void ScriptStart(CScriptedCablePeer& calc)
{
    calc.Expect(Seq(SEQ_RDY)).Send(CALC_ACK).Expect(Seq(SEQ_DIR_REQ)).Send(CALC_ACK).Send(FIRST_REPLY);
}

// One entry: ACK and CTS, the calculator's ACK and entry, ACK, CONT or EOT.
void ScriptEntry(CScriptedCablePeer& calc, const Bytes& packet, bool last)
{
    calc.Expect(Concat({Seq(SEQ_ACK), Seq(SEQ_CTS)})).Send(CALC_ACK).Send(packet).Expect(Seq(SEQ_ACK));
    if (last)
        calc.Send(EOT_PACKET).Expect(Seq(SEQ_ACK));
    else
        calc.Send(CONT_PACKET);
}

void ScriptListing(CScriptedCablePeer& calc, const std::vector<Bytes>& entries)
{
    ScriptStart(calc);
    for (size_t i = 0; i < entries.size(); ++i)
        ScriptEntry(calc, entries[i], i + 1 == entries.size());
}

struct CRecordedRows final : IFolderRows {
    bool InsertFolderRow(const std::string& name, uint32_t size) override
    {
        rows.insert(rows.begin(), {name, size});
        return !bRefuse;
    }
    std::vector<FolderEntry> rows;
    bool bRefuse = false;
};

} // namespace

TEST(DirectoryListing, OneFolderWithTwoVariablesIsExactlyTheScriptedExchange)
{
    CScriptedCablePeer calc;
    ScriptListing(calc, {Entry("main", FOLDER_ENTRY_TYPE, 2), Entry("x", VAR_EXPR, 9, 0x01),
                         Entry("txt", VAR_TEXT, 300)});
    CLinkRig rig(&calc);
    CRecordedRows rows;
    CDirectoryListing listing(&rows);

    ASSERT_TRUE(listing.ReadDirectory(rig.link));
    EXPECT_TRUE(calc.Finished());
    EXPECT_EQ(calc.Deviations(), 0);

    // Request, then three times ACK CTS ... ACK, and the closing ACK.
    const Bytes perEntry = Concat({Seq(SEQ_ACK), Seq(SEQ_CTS), Seq(SEQ_ACK)});
    EXPECT_EQ(calc.FromPc(),
              Concat({Seq(SEQ_RDY), Seq(SEQ_DIR_REQ), perEntry, perEntry, perEntry, Seq(SEQ_ACK)}));

    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(rows.rows[0].name, "main");
    EXPECT_EQ(rows.rows[0].size, 2u);
    ASSERT_EQ(listing.m_folders.size(), 1u);
    ASSERT_EQ(listing.m_vars.size(), 2u);
    EXPECT_EQ(listing.m_vars[0].name, "x");
    EXPECT_EQ(listing.m_vars[0].type, VAR_EXPR);
    EXPECT_EQ(listing.m_vars[0].size, 9u);
    EXPECT_EQ(listing.m_vars[0].attributes, 0x01);
    EXPECT_EQ(listing.m_vars[1].name, "txt");
    EXPECT_EQ(listing.m_vars[1].size, 300u);
    for (const VarEntry& v : listing.m_vars)
        EXPECT_EQ(v.folder, "main");
}

TEST(DirectoryListing, FourDigitFoldersAreKeptButGetNoRowAndRowsStackNewestFirst)
{
    CScriptedCablePeer calc;
    ScriptListing(calc, {Entry("main", FOLDER_ENTRY_TYPE), Entry("0001", FOLDER_ENTRY_TYPE),
                         Entry("hid", VAR_STR), Entry("A001", FOLDER_ENTRY_TYPE),
                         Entry("00001", FOLDER_ENTRY_TYPE), Entry("last", VAR_PRG)});
    CLinkRig rig(&calc);
    CRecordedRows rows;
    CDirectoryListing listing(&rows);

    ASSERT_TRUE(listing.ReadDirectory(rig.link));
    ASSERT_EQ(listing.m_folders.size(), 4u);
    EXPECT_EQ(listing.m_folders[1].name, "0001");
    ASSERT_EQ(rows.rows.size(), 3u);
    EXPECT_EQ(rows.rows[0].name, "00001");
    EXPECT_EQ(rows.rows[1].name, "A001");
    EXPECT_EQ(rows.rows[2].name, "main");
    ASSERT_EQ(listing.m_vars.size(), 2u);
    EXPECT_EQ(listing.m_vars[0].folder, "0001");
    EXPECT_EQ(listing.m_vars[1].folder, "00001");
    EXPECT_EQ(listing.m_strCurFolder, "00001");

    EXPECT_TRUE(CDirectoryListing::IsHiddenFolderName("9876"));
    EXPECT_FALSE(CDirectoryListing::IsHiddenFolderName("987"));
    EXPECT_FALSE(CDirectoryListing::IsHiddenFolderName("98 6"));
}

TEST(DirectoryListing, NamesAreRawBytesUpToTheFirstZeroAndEightBytesWithoutOne)
{
    CScriptedCablePeer calc;
    const std::string raw = std::string("\x80\xff", 2) + "\x01z";
    ScriptListing(calc, {Entry("abcdefgh", FOLDER_ENTRY_TYPE), Entry("12345678", VAR_MAT),
                         Entry(raw, VAR_LIST)});
    CLinkRig rig(&calc);
    CDirectoryListing listing; // no rows to show: the command-line use

    ASSERT_TRUE(listing.ReadDirectory(rig.link));
    EXPECT_EQ(listing.m_folders[0].name, "abcdefgh");
    ASSERT_EQ(listing.m_vars.size(), 2u);
    EXPECT_EQ(listing.m_vars[0].name, "12345678");
    EXPECT_EQ(listing.m_vars[0].folder, "abcdefgh");
    EXPECT_EQ(listing.m_vars[1].name, raw);
}

TEST(DirectoryListing, LongerEntriesAreReadWhole)
{
    // Data after offset 17 is read and summed but not used.
    Bytes data = EntryData("v", VAR_PIC, 0, 77);
    data.resize(254, 0xAB);
    CScriptedCablePeer calc;
    ScriptListing(calc, {Entry("main", FOLDER_ENTRY_TYPE), DataPacket(data)});
    CLinkRig rig(&calc);
    CDirectoryListing listing;
    ASSERT_TRUE(listing.ReadDirectory(rig.link));
    EXPECT_TRUE(calc.Finished());
    ASSERT_EQ(listing.m_vars.size(), 1u);
    EXPECT_EQ(listing.m_vars[0].size, 77u);
}

TEST(DirectoryListing, WrongEntryChecksumFailsAndKeepsEarlierEntries)
{
    CScriptedCablePeer calc;
    ScriptStart(calc);
    ScriptEntry(calc, Entry("main", FOLDER_ENTRY_TYPE), false);
    ScriptEntry(calc, Entry("x", VAR_EXPR), false);
    calc.Expect(Concat({Seq(SEQ_ACK), Seq(SEQ_CTS)}))
        .Send(CALC_ACK)
        .Send(DataPacket(EntryData("y", VAR_EXPR, 0, 1), +1));
    CLinkRig rig(&calc);
    CRecordedRows rows;
    CDirectoryListing listing(&rows);

    EXPECT_FALSE(listing.ReadDirectory(rig.link));
    EXPECT_TRUE(calc.Finished()); // nothing more was sent after the bad entry
    EXPECT_EQ(calc.Deviations(), 0);
    EXPECT_EQ(listing.m_folders.size(), 1u);
    ASSERT_EQ(listing.m_vars.size(), 1u);
    EXPECT_EQ(listing.m_vars[0].name, "x");
    EXPECT_EQ(rows.rows.size(), 1u);
}

TEST(DirectoryListing, TimeOutInAChecksumByteFails)
{
    Bytes cut = Entry("x", VAR_EXPR);
    cut.pop_back(); // the second checksum byte never comes
    CScriptedCablePeer calc;
    ScriptStart(calc);
    ScriptEntry(calc, Entry("main", FOLDER_ENTRY_TYPE), false);
    calc.Expect(Concat({Seq(SEQ_ACK), Seq(SEQ_CTS)})).Send(CALC_ACK).Send(cut);
    CLinkRig rig(&calc);
    CDirectoryListing listing;

    EXPECT_FALSE(listing.ReadDirectory(rig.link));
    EXPECT_TRUE(calc.Finished());
    EXPECT_EQ(listing.m_folders.size(), 1u);
    EXPECT_TRUE(listing.m_vars.empty());
    EXPECT_GE(rig.clock.Peek(), 1000u);
}

TEST(DirectoryListing, RequestNotAcknowledgedFailsBeforeAnyEntry)
{
    for (const Bytes& reply : {Bytes{0x89, 0x5A, 0, 0}, Bytes{0x89, 0x56, 0, 1}, Bytes{0x09, 0x56, 0, 0}}) {
        CScriptedCablePeer calc;
        calc.Expect(Seq(SEQ_RDY)).Send(CALC_ACK).Expect(Seq(SEQ_DIR_REQ)).Send(reply);
        CLinkRig rig(&calc);
        CRecordedRows rows;
        CDirectoryListing listing(&rows);
        EXPECT_FALSE(listing.ReadDirectory(rig.link));
        EXPECT_EQ(calc.Deviations(), 0);
        EXPECT_EQ(calc.FromPc(), Concat({Seq(SEQ_RDY), Seq(SEQ_DIR_REQ)}));
        EXPECT_TRUE(listing.m_folders.empty());
        EXPECT_TRUE(rows.rows.empty());
    }

    // Not ready at all: the request is never sent.
    CScriptedCablePeer silent;
    silent.Expect(Seq(SEQ_RDY));
    CLinkRig rig(&silent);
    CDirectoryListing listing;
    EXPECT_FALSE(listing.ReadDirectory(rig.link));
    EXPECT_EQ(silent.FromPc(), Seq(SEQ_RDY));
}

TEST(DirectoryListing, FirstReplyIsCheckedAndMustFitTheBuffer)
{
    CScriptedCablePeer bad;
    bad.Expect(Seq(SEQ_RDY)).Send(CALC_ACK).Expect(Seq(SEQ_DIR_REQ)).Send(CALC_ACK);
    bad.Send(DataPacket({0, 0, 0, 0, 0x19, 0}, -1));
    CLinkRig rig(&bad);
    CDirectoryListing listing;
    EXPECT_FALSE(listing.ReadDirectory(rig.link));
    EXPECT_TRUE(bad.Finished());
    EXPECT_EQ(bad.FromPc().size(), 16u); // no ACK for the bad reply

    // 253 data bytes and their checksum fill the buffer exactly; one more
    // byte is refused right after the header.
    for (size_t length : {size_t{253}, size_t{254}}) {
        CScriptedCablePeer calc;
        calc.Expect(Seq(SEQ_RDY)).Send(CALC_ACK).Expect(Seq(SEQ_DIR_REQ)).Send(CALC_ACK);
        calc.Send(DataPacket(Bytes(length, 0x5C)));
        if (length == 253)
            ScriptEntry(calc, Entry("main", FOLDER_ENTRY_TYPE), true);
        CLinkRig rig2(&calc);
        CDirectoryListing listing2;
        EXPECT_EQ(listing2.ReadDirectory(rig2.link), length == 253) << length;
        EXPECT_EQ(calc.HasPendingOutput(), length == 254) << length;
    }
}

TEST(DirectoryListing, EntryPacketsTooShortOrTooLongEndTheListingUnread)
{
    for (size_t length : {size_t{0}, size_t{17}, size_t{255}, size_t{300}, size_t{65535}}) {
        CScriptedCablePeer calc;
        ScriptStart(calc);
        ScriptEntry(calc, Entry("main", FOLDER_ENTRY_TYPE), false);
        Bytes data = EntryData("evil", VAR_EXPR, 0, 5);
        data.resize(length, 0x41);
        calc.Expect(Concat({Seq(SEQ_ACK), Seq(SEQ_CTS)})).Send(CALC_ACK).Send(DataPacket(data));
        CLinkRig rig(&calc);
        CDirectoryListing listing;

        EXPECT_FALSE(listing.ReadDirectory(rig.link)) << length;
        EXPECT_EQ(listing.m_folders.size(), 1u);
        EXPECT_TRUE(listing.m_vars.empty()) << length;
        // Only the header was taken; no ACK followed.
        EXPECT_EQ(calc.Deviations(), 0);
        EXPECT_TRUE(calc.HasPendingOutput()) << length;
    }
}

TEST(DirectoryListing, ClosingPacketOtherThanContinueOrEndFails)
{
    for (uint8_t command : {CMD_ACK, CMD_ERR, CMD_DATA}) {
        CScriptedCablePeer calc;
        ScriptStart(calc);
        calc.Expect(Concat({Seq(SEQ_ACK), Seq(SEQ_CTS)}))
            .Send(CALC_ACK)
            .Send(Entry("main", FOLDER_ENTRY_TYPE))
            .Expect(Seq(SEQ_ACK))
            .Send({MACHINE_TI92, command, 0, 0});
        CLinkRig rig(&calc);
        CDirectoryListing listing;
        EXPECT_FALSE(listing.ReadDirectory(rig.link));
        EXPECT_TRUE(calc.Finished());
        EXPECT_EQ(calc.Deviations(), 0); // no closing ACK
        EXPECT_EQ(listing.m_folders.size(), 1u);
    }
}

TEST(DirectoryListing, CurrentFolderSurvivesANewListingAndRefusedRowsAreIgnored)
{
    CScriptedCablePeer first;
    ScriptListing(first, {Entry("alpha", FOLDER_ENTRY_TYPE), Entry("beta", FOLDER_ENTRY_TYPE)});
    CLinkRig rig(&first);
    CRecordedRows rows;
    rows.bRefuse = true;
    CDirectoryListing listing(&rows);
    ASSERT_TRUE(listing.ReadDirectory(rig.link));
    EXPECT_EQ(listing.m_folders.size(), 2u);

    // A listing that begins with a variable stamps it with the last folder
    // of the previous listing.
    listing.Clear();
    CScriptedCablePeer second;
    ScriptListing(second, {Entry("orphan", VAR_FUNC), Entry("gamma", FOLDER_ENTRY_TYPE)});
    rig.cable.SetPeer(&second);
    ASSERT_TRUE(listing.ReadDirectory(rig.link));
    ASSERT_EQ(listing.m_vars.size(), 1u);
    EXPECT_EQ(listing.m_vars[0].folder, "beta");
    ASSERT_EQ(listing.m_folders.size(), 1u);
    EXPECT_EQ(listing.m_folders[0].name, "gamma");
}
