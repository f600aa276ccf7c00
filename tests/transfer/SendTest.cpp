#include "link/VarTypes.h"
#include "LinkRig.h"
#include "RecordingMessages.h"
#include "TempFolder.h"
#include "text/StringIds.h"
#include "transfer/SendOperation.h"
#include "transfer/VariableFile.h"
#include "transfer/VariableSender.h"
#include "TransferScript.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

struct SendRig {
    CScriptedCablePeer calc;
    CLinkRig rig{&calc};
    CRecordingMessages messages;
    CTempFolder folder;
    CSendOperation operation{rig.link, messages};

    bool Send(const Bytes& file, const std::string& name = "file.92g")
    {
        WriteBytes(folder.File(name), file);
        return operation.SendFile(folder.File(name));
    }
};

struct Variable {
    std::string name;
    uint8_t type;
    Bytes section;
};

Bytes VariableFile(const std::vector<Variable>& variables)
{
    CVarFileBuilder builder(static_cast<uint16_t>(variables.size()));
    for (const Variable& v : variables)
        builder.AddVariable(v.name, v.type, 0, v.section.data(), v.section.size());
    return builder.Finish();
}

// A group file written by hand, with folder entries among the variables.
Bytes GroupFileWithFolders(const std::vector<Variable>& entries)
{
    Bytes file(60 + 16 * entries.size() + 6, 0);
    std::memcpy(file.data(), "**TI92**", 8);
    std::memcpy(file.data() + 10, "main", 4);
    file[58] = static_cast<uint8_t>(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        uint8_t* entry = file.data() + 60 + 16 * i;
        std::memcpy(entry + 4, entries[i].name.data(), entries[i].name.size());
        entry[12] = entries[i].type;
        if (entries[i].type == FOLDER_ENTRY_TYPE) {
            entry[14] = 0x07; // a variable count some programs keep here
            continue;
        }
        entry[0] = static_cast<uint8_t>(file.size());
        entry[1] = static_cast<uint8_t>(file.size() >> 8);
        file.insert(file.end(), entries[i].section.begin(), entries[i].section.end());
        AppendLittleEndian16(file, MakeChecksum(entries[i].section.data(), entries[i].section.size()));
    }
    return file;
}

Bytes SentOnCable(const std::string& folder, const std::string& name, uint8_t type, const Bytes& section)
{
    return Concat({Seq(SEQ_RDY), AnnouncementBytes(folder, name, type, static_cast<uint16_t>(section.size())),
                   Seq(SEQ_ACK), PcDataPacket(section), Seq(SEQ_EOT)});
}

} // namespace

TEST(SendVariable, AnnouncementForMainXIsTheKnownBytes)
{
    const Bytes expected = {18,   0x09, 0x06, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00,
                            0x06, 0x6D, 0x61, 0x69, 0x6E, 0x5C, 0x78, 0x8F, 0x02};
    EXPECT_EQ(CVariableSender::BuildAnnouncementPacket("main", "x", VAR_EXPR, 16), expected);
}

TEST(SendVariable, ASingleFileGoesOutWithTheWholeScript)
{
    SendRig r;
    const Bytes section = Section(Contents(10));
    ScriptSend(r.calc, "main", "x", VAR_EXPR, section);
    ASSERT_TRUE(r.Send(VariableFile({{"x", VAR_EXPR, section}}), "x.92e"));
    EXPECT_TRUE(r.calc.Finished());
    EXPECT_EQ(r.calc.Deviations(), 0);
    const Bytes expected = Concat({Seq(SEQ_RDY),
                                   {0x09, 0x06, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x06, 0x6D, 0x61, 0x69,
                                    0x6E, 0x5C, 0x78, 0x8F, 0x02},
                                   Seq(SEQ_ACK), {0x09, 0x15, 0x10, 0x00}, section,
                                   {static_cast<uint8_t>(MakeChecksum(section.data(), section.size())),
                                    static_cast<uint8_t>(MakeChecksum(section.data(), section.size()) >> 8)},
                                   Seq(SEQ_EOT)});
    EXPECT_EQ(r.calc.FromPc(), expected);
    EXPECT_EQ(r.messages.GetMessageIds(), std::vector<int>{IDS_FILE_SENT});
}

TEST(SendVariable, StoredSumAndSizeBlockAreNotTrustedNorChecked)
{
    SendRig r;
    const Bytes section = Section(Contents(10));
    Bytes file = VariableFile({{"x", VAR_EXPR, section}});
    file[file.size() - 1] ^= 0xFF;
    file[76] = 0x11;
    ScriptSend(r.calc, "main", "x", VAR_EXPR, section);
    ASSERT_TRUE(r.Send(file, "noext"));
    EXPECT_EQ(r.calc.FromPc(), SentOnCable("main", "x", VAR_EXPR, section));
}

TEST(SendVariable, SampleFilesOfAnotherProgramAreSentIntoTheirFolder)
{
    const Bytes abc = Section({0x00, 'a', 'b', 'c', 0x00, 0x2D});
    {
        SendRig r;
        ScriptSend(r.calc, "group", "str", VAR_STR, abc);
        ASSERT_TRUE(r.operation.SendFile(SamplePath("str.92s")));
        EXPECT_TRUE(r.calc.Finished());
        EXPECT_EQ(r.calc.Deviations(), 0);
    }
    {
        SendRig r;
        ScriptSend(r.calc, "group", "X", VAR_STR, abc);
        ScriptSend(r.calc, "group", "Y", VAR_STR, abc);
        ASSERT_TRUE(r.operation.SendFile(SamplePath("group.92g")));
        EXPECT_TRUE(r.calc.Finished());
        EXPECT_EQ(r.calc.Deviations(), 0);
        EXPECT_EQ(r.messages.GetMessageIds(), std::vector<int>{IDS_FILE_SENT});
    }
}

TEST(SendVariable, FolderEntriesSwitchTheFolderOfTheVariablesAfterThem)
{
    SendRig r;
    const Variable w{"w", VAR_STR, Section(Contents(1))};
    const Variable x{"x", VAR_EXPR, Section(Contents(5))};
    const Variable y{"y", VAR_PRG, Section(Contents(9))};
    ScriptSend(r.calc, "main", "w", w.type, w.section);
    ScriptSend(r.calc, "abc", "x", x.type, x.section);
    ScriptSend(r.calc, "def", "y", y.type, y.section);
    ASSERT_TRUE(r.Send(GroupFileWithFolders(
        {w, {"abc", FOLDER_ENTRY_TYPE, {}}, x, {"def", FOLDER_ENTRY_TYPE, {}}, y})));
    EXPECT_TRUE(r.calc.Finished());
    EXPECT_EQ(r.calc.Deviations(), 0);
    EXPECT_EQ(r.calc.FromPc(), Concat({SentOnCable("main", "w", w.type, w.section),
                                       SentOnCable("abc", "x", x.type, x.section),
                                       SentOnCable("def", "y", y.type, y.section)}));
}

TEST(SendVariable, FilesWithNothingToSendOrThatAreNotOursSendNothing)
{
    SendRig r;
    Bytes empty = VariableFile({{"a", VAR_STR, Section(Contents(1))}, {"b", VAR_STR, Section(Contents(1))}});
    empty[58] = 0;
    // Saying it was sent would tell the user that something reached the calculator.
    EXPECT_FALSE(r.Send(empty));
    Bytes foreign = VariableFile({{"x", VAR_PRG, Section(Contents(4))}});
    foreign[2] = 't';
    EXPECT_FALSE(r.Send(foreign, "x.92p"));
    EXPECT_FALSE(r.operation.SendFile(""));
    EXPECT_FALSE(r.operation.SendFile(r.folder.File("missing.92e")));
    EXPECT_FALSE(r.operation.SendFile(r.folder.Path()));
    EXPECT_EQ(r.messages.GetMessageIds(), (std::vector<int>{IDS_SEND_NO_VARIABLE, IDS_UNKNOWN_FILE_TYPE,
                                                             IDS_NO_FILE_SELECTED, IDS_SEND_FAILED, IDS_SEND_FAILED}));
    EXPECT_TRUE(r.calc.FromPc().empty());
}

TEST(SendVariable, TruncatedAndHostileFilesNeverReachTheCable)
{
    SendRig r;
    const Bytes file = VariableFile({{"first", VAR_STR, Section(Contents(20))}, {"s", VAR_LIST, Section(Contents(1))}});
    // Cut in the signature, the header, the entry table or the sections:
    // each says where the file ends too soon.
    const size_t tableEnd = 60 + 2 * 16;
    for (size_t length = 0; length < file.size(); ++length) {
        r.messages.Clear();
        EXPECT_FALSE(r.Send(Bytes(file.begin(), file.begin() + length)));
        const int expected = length < 8    ? IDS_UNKNOWN_FILE_TYPE
                             : length < 60 ? IDS_FILE_HEADER_CUT
                             : length < tableEnd ? IDS_FILE_ENTRIES_BEYOND_END
                                                 : IDS_FILE_SECTION_CUT;
        EXPECT_EQ(r.messages.GetMessageIds(), std::vector<int>{expected}) << length;
    }
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        Bytes bytes(8 + random() % 120);
        for (uint8_t& b : bytes)
            b = static_cast<uint8_t>(random());
        std::memcpy(bytes.data(), "**TI92**", 8);
        bytes[58 % bytes.size()] = static_cast<uint8_t>(1 + random() % 3);
        if (bytes.size() > 59)
            bytes[59] = 0;
        r.Send(bytes);
    }
    EXPECT_TRUE(r.calc.FromPc().empty());
}

TEST(SendVariable, CalculatorFailuresAreReportedAndStopTheGroup)
{
    const Bytes section = Section(Contents(3));
    {
        SendRig r;
        r.calc.Expect(Seq(SEQ_RDY)).Send({0x89, 0x09, 0x00, 0x00});
        EXPECT_FALSE(r.Send(VariableFile({{"x", VAR_EXPR, section}})));
        EXPECT_EQ(r.messages.GetMessageIds(), (std::vector<int>{IDS_NOT_READY, IDS_SEND_FAILED}));
    }
    {
        SendRig r;
        r.calc.GoSilent();
        EXPECT_FALSE(r.Send(VariableFile({{"x", VAR_EXPR, section}})));
        EXPECT_EQ(r.messages.GetMessageIds(), std::vector<int>{IDS_SEND_FAILED});
    }
    {
        // The second variable is refused after its announcement.
        SendRig r;
        ScriptSend(r.calc, "main", "a", VAR_STR, section);
        r.calc.Expect(Seq(SEQ_RDY))
            .Send(CALC_ACK)
            .Expect(AnnouncementBytes("main", "b", VAR_STR, static_cast<uint16_t>(section.size())))
            .Send({0x89, 0x5A, 0x00, 0x00});
        EXPECT_FALSE(r.Send(VariableFile({{"a", VAR_STR, section}, {"b", VAR_STR, section}, {"c", VAR_STR, section}})));
        // Nothing of b beyond its announcement, nothing at all of c.
        EXPECT_EQ(r.calc.FromPc(),
                  Concat({SentOnCable("main", "a", VAR_STR, section), Seq(SEQ_RDY),
                          AnnouncementBytes("main", "b", VAR_STR, static_cast<uint16_t>(section.size()))}));
        EXPECT_EQ(r.messages.GetMessageIds(), std::vector<int>{IDS_SEND_FAILED});
    }
}

TEST(SendVariable, ABackupOrADirectoryEntryIsRefusedBeforeTheCableWithTheFilesName)
{
    SendRig r;
    const std::string backup = SamplePath("backup.92b");
    const Bytes directory = VariableFile({{"x", VAR_STR, Section(Contents(3))}, {"d", VAR_DIRLIST, Section(Contents(3))}});
    EXPECT_FALSE(r.operation.SendFile(backup));
    EXPECT_FALSE(r.Send(directory));
    EXPECT_EQ(r.messages.GetMessageIds(), (std::vector<int>{IDS_SEND_IS_BACKUP, IDS_SEND_HAS_DIRECTORY}));
    EXPECT_EQ(r.messages.GetShown().front().text, backup);
    EXPECT_TRUE(r.calc.FromPc().empty());
}
