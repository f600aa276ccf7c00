#include "link/VarTypes.h"
#include "LinkRig.h"
#include "RecordingMessages.h"
#include "TempFolder.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"
#include "transfer/ReceiveOperation.h"
#include "transfer/ReplacingFile.h"
#include "transfer/SafeFileName.h"
#include "transfer/VarFileReader.h"
#include "transfer/VariableFile.h"
#include "transfer/VariableReceiver.h"
#include "TransferScript.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

const std::string MAIN_FOLDER = "main";

// A calculator, a link to it, a PC folder and the listing of the variables.
struct ReceiveRig {
    CScriptedCablePeer calc;
    CLinkRig rig{&calc};
    CRecordingMessages messages;
    CTempFolder folder;
    std::vector<VarEntry> vars;
    CReceiveOperation operation{rig.link, messages, vars};

    void List(const std::string& name, uint8_t type, const Bytes& section, const std::string& in = MAIN_FOLDER)
    {
        vars.push_back({name, type, static_cast<uint32_t>(section.size() - 4), 0x01, in});
    }
    bool Receive(std::vector<std::string> names, const std::string& selected = MAIN_FOLDER)
    {
        return operation.OnReceive(folder.Path(), &selected, names);
    }
};

Bytes SingleFile(const std::string& name, uint8_t type, uint8_t attributes, const Bytes& section)
{
    CVarFileBuilder builder(1);
    builder.AddVariable(name, type, attributes, section.data(), section.size());
    return builder.Finish();
}

const Bytes OLD = {'o', 'l', 'd', ' ', 'b', 'y', 't', 'e', 's'};

} // namespace

TEST(ReceiveVariable, RequestPacketForMainXIsTheKnownBytes)
{
    const Bytes expected = {18,   0x09, 0xA2, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                            0x06, 0x6D, 0x61, 0x69, 0x6E, 0x5C, 0x78, 0x7F, 0x02};
    EXPECT_EQ(CVariableReceiver::BuildRequestPacket("main", "x", VAR_EXPR), expected);
}

TEST(ReceiveVariable, SingleVariableBecomesItsOwnFileAfterTheWholeScript)
{
    ReceiveRig r;
    const Bytes section = Section(Contents(10));
    r.List("x", VAR_EXPR, section);
    ScriptReceive(r.calc, MAIN_FOLDER, "x", VAR_EXPR, section);

    ASSERT_TRUE(r.Receive({"x"}));
    EXPECT_TRUE(r.calc.Finished());
    EXPECT_EQ(r.calc.Deviations(), 0);
    EXPECT_EQ(r.calc.FromPc(),
              Concat({Seq(SEQ_RDY), {0x09, 0xA2, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x06, 0x6D, 0x61, 0x69,
                                     0x6E, 0x5C, 0x78, 0x7F, 0x02},
                      Seq(SEQ_ACK), Seq(SEQ_CTS), Seq(SEQ_ACK), Seq(SEQ_ACK)}));
    EXPECT_EQ(ReadBytes(r.folder.File("x.92e")), SingleFile("x", VAR_EXPR, 0x01, section));
    EXPECT_EQ(r.folder.Names(), std::vector<std::string>{"x.92e"});
    EXPECT_EQ(r.messages.GetMessageIds(), std::vector<int>{IDS_FILE_RECEIVED});
    EXPECT_EQ(r.operation.GetWrittenPath(), r.folder.File("x.92e"));
}

TEST(ReceiveVariable, ThePayloadWinsOverTheListedSize)
{
    // Listed larger: writing listed size + 4 would read past the payload;
    // listed smaller: it would cut the variable.
    for (uint32_t listed : {60u, 2u}) {
        ReceiveRig r;
        const Bytes section = Section(Contents(10));
        r.vars.push_back({"x", VAR_EXPR, listed, 0, MAIN_FOLDER});
        ScriptReceive(r.calc, MAIN_FOLDER, "x", VAR_EXPR, section);
        ASSERT_TRUE(r.Receive({"x"}));
        EXPECT_EQ(ReadBytes(r.folder.File("x.92e")), SingleFile("x", VAR_EXPR, 0, section)) << listed;
    }
}

TEST(ReceiveVariable, AVariableHeaderReplyLongerThanItsBufferIsReadAndSummed)
{
    ReceiveRig r;
    const Bytes section = Section(Contents(3));
    r.List("s", VAR_STR, section);
    r.calc.Expect(Seq(SEQ_RDY))
        .Send(CALC_ACK)
        .Expect(RequestBytes(MAIN_FOLDER, "s", VAR_STR))
        .Send(CALC_ACK)
        .Send(CalcPacket(CMD_VAR, Contents(300, 9)))
        .Expect(Concat({Seq(SEQ_ACK), Seq(SEQ_CTS)}))
        .Send(CALC_ACK)
        .Send(CalcPacket(CMD_DATA, section))
        .Expect(Seq(SEQ_ACK))
        .Send(CALC_EOT)
        .Expect(Seq(SEQ_ACK));
    ASSERT_TRUE(r.Receive({"s"}));
    EXPECT_TRUE(r.calc.Finished());
    EXPECT_EQ(ReadBytes(r.folder.File("s.92s")), SingleFile("s", VAR_STR, 0x01, section));
}

TEST(ReceiveVariable, OverwriteIsAskedOnlyForANonEmptyFileAndNoKeepsTheOldBytes)
{
    const Bytes section = Section(Contents(4));
    {
        ReceiveRig r;
        r.List("x", VAR_EXPR, section);
        WriteBytes(r.folder.File("x.92e"), OLD);
        r.messages.AnswerYesNo(false);
        EXPECT_FALSE(r.Receive({"x"}));
        EXPECT_EQ(ReadBytes(r.folder.File("x.92e")), OLD);
        EXPECT_TRUE(r.calc.FromPc().empty());
        ASSERT_EQ(r.messages.GetShown().size(), 1u);
        EXPECT_EQ(r.messages.GetShown()[0].id, IDS_OVERWRITE_FILE);
        EXPECT_EQ(r.messages.GetShown()[0].text, r.folder.File("x.92e"));
    }
    {
        ReceiveRig r;
        r.List("x", VAR_EXPR, section);
        WriteBytes(r.folder.File("x.92e"), OLD);
        r.messages.AnswerYesNo(true);
        ScriptReceive(r.calc, MAIN_FOLDER, "x", VAR_EXPR, section);
        ASSERT_TRUE(r.Receive({"x"}));
        EXPECT_EQ(ReadBytes(r.folder.File("x.92e")), SingleFile("x", VAR_EXPR, 0x01, section));
        EXPECT_EQ(r.messages.GetMessageIds(), (std::vector<int>{IDS_OVERWRITE_FILE, IDS_FILE_RECEIVED}));
    }
    {
        ReceiveRig r;
        r.List("x", VAR_EXPR, section);
        WriteBytes(r.folder.File("x.92e"), {});
        ScriptReceive(r.calc, MAIN_FOLDER, "x", VAR_EXPR, section);
        ASSERT_TRUE(r.Receive({"x"}));
        EXPECT_EQ(r.messages.GetMessageIds(), std::vector<int>{IDS_FILE_RECEIVED});
    }
}

TEST(ReceiveVariable, ARefusedRequestShowsVariableNotFoundAndKeepsAnExistingFile)
{
    ReceiveRig r;
    r.List("x", VAR_EXPR, Section(Contents(4)));
    WriteBytes(r.folder.File("x.92e"), OLD);
    r.messages.AnswerYesNo(true);
    r.calc.Expect(Seq(SEQ_RDY)).Send(CALC_ACK).Expect(RequestBytes(MAIN_FOLDER, "x", VAR_EXPR)).Send({0x89, 0x5A, 0, 0});

    EXPECT_FALSE(r.Receive({"x"}));
    EXPECT_EQ(r.messages.GetMessageIds(), (std::vector<int>{IDS_OVERWRITE_FILE, IDS_VAR_NOT_FOUND}));
    EXPECT_EQ(ReadBytes(r.folder.File("x.92e")), OLD);
    EXPECT_EQ(r.folder.Names(), std::vector<std::string>{"x.92e"});
}

TEST(ReceiveVariable, CalculatorFailuresLeaveNoFile)
{
    const Bytes section = Section(Contents(6));
    {
        // Another answer to the ready check: message 119.
        ReceiveRig r;
        r.List("x", VAR_EXPR, section);
        r.calc.Expect(Seq(SEQ_RDY)).Send({0x89, 0x09, 0, 0});
        EXPECT_FALSE(r.Receive({"x"}));
        EXPECT_EQ(r.messages.GetMessageIds(), std::vector<int>{IDS_NOT_READY});
        EXPECT_TRUE(r.folder.Names().empty());
    }
    {
        // A calculator that never answers: silence, after the time-out.
        ReceiveRig r;
        r.List("x", VAR_EXPR, section);
        r.calc.GoSilent();
        EXPECT_FALSE(r.Receive({"x"}));
        EXPECT_TRUE(r.messages.GetShown().empty());
        EXPECT_TRUE(r.folder.Names().empty());
    }
    {
        // A wrong sum on the data packet: the PC stops talking.
        ReceiveRig r;
        r.List("x", VAR_EXPR, section);
        r.calc.Expect(Seq(SEQ_RDY))
            .Send(CALC_ACK)
            .Expect(RequestBytes(MAIN_FOLDER, "x", VAR_EXPR))
            .Send(CALC_ACK)
            .Send(VariableHeaderReply(MAIN_FOLDER, "x", VAR_EXPR, 8))
            .Expect(Concat({Seq(SEQ_ACK), Seq(SEQ_CTS)}))
            .Send(CALC_ACK)
            .Send(CalcPacket(CMD_DATA, section, +1));
        EXPECT_FALSE(r.Receive({"x"}));
        EXPECT_TRUE(r.messages.GetShown().empty());
        EXPECT_TRUE(r.folder.Names().empty());
        EXPECT_EQ(r.calc.Deviations(), 0);
    }
    {
        // A payload too short to hold its own length cannot be a section.
        ReceiveRig r;
        r.List("x", VAR_EXPR, section);
        ScriptReceive(r.calc, MAIN_FOLDER, "x", VAR_EXPR, Bytes{0, 0, 0, 0, 0x00, 0x09, 1, 2});
        EXPECT_FALSE(r.Receive({"x"}));
        EXPECT_EQ(r.messages.GetTexts(), std::vector<std::string>{ProgramText(IDS_MALFORMED_VARIABLE)});
        EXPECT_TRUE(r.folder.Names().empty());
    }
}

TEST(ReceiveVariable, AnotherClosingPacketIsReportedOnceAndTheReceiveStillSucceeds)
{
    ReceiveRig r;
    const Bytes section = Section(Contents(2));
    r.List("x", VAR_EXPR, section);
    ScriptReceive(r.calc, MAIN_FOLDER, "x", VAR_EXPR, section, {0x89, 0x78, 0x00, 0x00});
    ASSERT_TRUE(r.Receive({"x"}));
    EXPECT_EQ(r.messages.GetTexts(), std::vector<std::string>{TEXT_UNATTENDED_END});
    EXPECT_EQ(r.messages.GetMessageIds(), std::vector<int>{IDS_FILE_RECEIVED});
    EXPECT_EQ(ReadBytes(r.folder.File("x.92e")), SingleFile("x", VAR_EXPR, 0x01, section));
}

TEST(ReceiveVariable, SelectionIsCheckedAndTheFolderComesFromTheSelectedRow)
{
    ReceiveRig r;
    r.List("x", VAR_EXPR, Section(Contents(2)), "other");
    EXPECT_FALSE(r.operation.OnReceive(r.folder.Path(), nullptr, {"x"}));
    EXPECT_FALSE(r.Receive({}));
    // x is listed in "other", but the selected row is main; folder names
    // are compared with their case.
    EXPECT_FALSE(r.Receive({"x"}));
    r.messages.AnswerText(1, "g");
    EXPECT_FALSE(r.Receive({"x", "x"}, "Other"));
    EXPECT_EQ(r.messages.GetMessageIds(), (std::vector<int>{IDS_NO_FOLDER_SELECTED, IDS_NO_VAR_SELECTED,
                                                             IDS_ENTRY_NOT_FOUND, IDS_ENTRY_NOT_FOUND}));
    EXPECT_TRUE(r.calc.FromPc().empty());
    EXPECT_TRUE(r.folder.Names().empty());
}

TEST(ReceiveVariable, CalculatorNamesAlwaysLandInTheShownFolder)
{
    ReceiveRig r;
    const Bytes section = Section(Contents(2));
    r.List("../x", VAR_EXPR, section);
    r.List("..", 0x01, section);
    ScriptReceive(r.calc, MAIN_FOLDER, "../x", VAR_EXPR, section);
    ScriptReceive(r.calc, MAIN_FOLDER, "..", 0x01, section);
    ASSERT_TRUE(r.Receive({"../x"}));
    ASSERT_TRUE(r.Receive({".."}));
    EXPECT_EQ(ReadBytes(r.folder.File("..%2Fx.92e")), SingleFile("../x", VAR_EXPR, 0x01, section));
    // A type without an extension of its own is named by its code.
    EXPECT_EQ(ReadBytes(r.folder.File("%2E%2E.0x01")), SingleFile("..", 0x01, 0x01, section));
    // The calculator's own letters name the file with the same letters.
    r.List("citt\xE0", VAR_STR, section);
    ScriptReceive(r.calc, MAIN_FOLDER, "citt\xE0", VAR_STR, section);
    ASSERT_TRUE(r.Receive({"citt\xE0"}));
    EXPECT_EQ(ReadBytes(r.folder.File("citt\u00E0.92s")), SingleFile("citt\xE0", VAR_STR, 0x01, section));
    EXPECT_EQ(r.folder.Names().size(), 3u);
}

TEST(ReceiveVariable, ATargetThatCannotBeWrittenStartsNoExchange)
{
    ReceiveRig r;
    r.List("x", VAR_EXPR, Section(Contents(2)));
    // The message names the file once and says why in the program's own
    // words, in the language of its texts (here each text is its number).
    SetProgramTextLookup([](int id) {
        std::string text = "<";
        text += std::to_string(id);
        return text += '>';
    });
    EXPECT_FALSE(r.operation.OnReceive(r.folder.File("missing"), &MAIN_FOLDER, {"x"}));
    std::filesystem::create_directory(SystemPath(r.folder.File("x.92e")));
    EXPECT_FALSE(r.Receive({"x"}));
    SetProgramTextLookup(nullptr);
    EXPECT_EQ(r.messages.GetTexts(),
              (std::vector<std::string>{"<420>" + JoinFolderPath(r.folder.File("missing"), "x.92e") + ": <603>",
                                        "<420>" + r.folder.File("x.92e") + ": <424>"}));
    EXPECT_TRUE(r.calc.FromPc().empty());
}

// A file-size limit stands in for a full disk; Windows has none to set.
#ifndef _WIN32
TEST(ReceiveVariable, AFullDiskKeepsTheOldFileByteForByte)
{
    ReceiveRig r;
    const Bytes section = Section(Contents(200));
    r.List("x", VAR_EXPR, section);
    WriteBytes(r.folder.File("x.92e"), OLD);
    r.messages.AnswerYesNo(true);
    ScriptReceive(r.calc, MAIN_FOLDER, "x", VAR_EXPR, section);

    // Files may grow to 64 bytes only: the write of the new file fails.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 64;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const bool received = r.Receive({"x"});
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(received);
    EXPECT_TRUE(r.calc.Finished());
    ASSERT_EQ(r.messages.GetTexts().size(), 1u);
    EXPECT_EQ(r.messages.GetTexts()[0].rfind(ProgramText(IDS_FILE_NOT_WRITTEN), 0), 0u);
    EXPECT_EQ(ReadBytes(r.folder.File("x.92e")), OLD);
    EXPECT_EQ(r.folder.Names(), std::vector<std::string>{"x.92e"});
}
#endif

TEST(ReceiveGroup, ThreeVariablesBecomeLessonWithTheStandardLayout)
{
    ReceiveRig r;
    const std::vector<std::pair<std::string, Bytes>> variables = {
        {"abcdefgh", Section(Contents(30, 1))}, {"b", Section(Contents(0))}, {"cc", Section(Contents(7, 5))}};
    for (const auto& [name, section] : variables) {
        r.List(name, VAR_LIST, section);
        ScriptReceive(r.calc, MAIN_FOLDER, name, VAR_LIST, section);
    }
    r.messages.AnswerText(1, "lesson");
    ASSERT_TRUE(r.Receive({"abcdefgh", "b", "cc"}));
    EXPECT_TRUE(r.calc.Finished());
    EXPECT_EQ(r.messages.GetMessageIds(), std::vector<int>{IDS_FILES_RECEIVED});
    ASSERT_EQ(r.messages.GetShown().front().kind, CRecordingMessages::Shown::Prompt);
    EXPECT_EQ(r.messages.GetShown().front().id, IDS_GROUP_NAME_TITLE);

    const Bytes file = ReadBytes(r.folder.File("lesson.92g"));
    CVarFileBuilder builder(3);
    for (const auto& [name, section] : variables)
        builder.AddVariable(name, VAR_LIST, 0x01, section.data(), section.size());
    EXPECT_EQ(file, builder.Finish());

    std::ifstream in(SystemPath(r.folder.File("lesson.92g")), std::ios::binary);
    CVarFileReader reader(in);
    ASSERT_EQ(reader.Check(), VarFileCheck::Ok);
    ASSERT_EQ(reader.GetEntries().size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(reader.GetEntries()[i].name, variables[i].first);
        Bytes section(variables[i].second.size());
        ASSERT_TRUE(reader.ReadAt(reader.GetSectionOffset(i), section.data(), section.size()));
        EXPECT_EQ(section, variables[i].second);
        // Each section is followed by its own sum.
        uint8_t sum[2];
        ASSERT_TRUE(reader.ReadAt(reader.GetSectionOffset(i) + section.size(), sum, 2));
        EXPECT_EQ(sum[0] | (sum[1] << 8), MakeChecksum(section.data(), section.size()));
    }
}

TEST(ReceiveGroup, TheNameIsAskedAgainUntilItCanNameAFile)
{
    ReceiveRig r;
    const Bytes section = Section(Contents(1));
    r.List("a", VAR_STR, section);
    r.List("b", VAR_STR, section);
    ScriptReceive(r.calc, MAIN_FOLDER, "a", VAR_STR, section);
    ScriptReceive(r.calc, MAIN_FOLDER, "b", VAR_STR, section);
    r.messages.AnswerText(1, "");
    r.messages.AnswerText(1, "../up");
    r.messages.AnswerText(1, std::string(260, 'n'));
    r.messages.AnswerText(1, "two");
    ASSERT_TRUE(r.Receive({"a", "b"}));

    // The dialog reopens with what was typed last.
    std::vector<std::string> offered;
    for (const auto& shown : r.messages.GetShown())
        if (shown.kind == CRecordingMessages::Shown::Prompt)
            offered.push_back(shown.text);
    EXPECT_EQ(offered, (std::vector<std::string>{"", "", "../up", std::string(260, 'n')}));
    const std::string refused = ProgramText(IDS_BAD_GROUP_NAME, {RefusedFileNameCharacters()});
    EXPECT_EQ(r.messages.GetTexts(), (std::vector<std::string>{refused, refused}));
    EXPECT_EQ(r.folder.Names(), std::vector<std::string>{"two.92g"});
}

TEST(ReceiveGroup, CancelEndsSilentlyAndAMissingDialogSaysSo)
{
    ReceiveRig r;
    r.List("a", VAR_STR, Section(Contents(1)));
    r.List("b", VAR_STR, Section(Contents(1)));
    r.messages.AnswerText(2);
    EXPECT_FALSE(r.Receive({"a", "b"}));
    EXPECT_EQ(r.messages.GetShown().size(), 1u);
    EXPECT_TRUE(r.messages.GetMessageIds().empty());
    r.messages.AnswerText(-1);
    EXPECT_FALSE(r.Receive({"a", "b"}));
    EXPECT_EQ(r.messages.GetMessageIds(), std::vector<int>{IDS_CANNOT_CREATE_WINDOW});
    EXPECT_TRUE(r.calc.FromPc().empty());
    EXPECT_TRUE(r.folder.Names().empty());
}

TEST(ReceiveGroup, AFailureInTheMiddleLeavesNoFileAndAnOldOneUntouched)
{
    for (bool existing : {false, true}) {
        ReceiveRig r;
        const Bytes section = Section(Contents(12));
        r.List("a", VAR_STR, section);
        r.List("b", VAR_STR, section);
        r.List("c", VAR_STR, section);
        ScriptReceive(r.calc, MAIN_FOLDER, "a", VAR_STR, section);
        // b: the calculator falls silent after its variable header.
        r.calc.Expect(Seq(SEQ_RDY))
            .Send(CALC_ACK)
            .Expect(RequestBytes(MAIN_FOLDER, "b", VAR_STR))
            .Send(CALC_ACK)
            .Send(VariableHeaderReply(MAIN_FOLDER, "b", VAR_STR, 14));
        if (existing) {
            WriteBytes(r.folder.File("lesson.92g"), OLD);
            r.messages.AnswerYesNo(true);
        }
        r.messages.AnswerText(1, "lesson");
        EXPECT_FALSE(r.Receive({"a", "b", "c"}));
        if (existing) {
            EXPECT_EQ(ReadBytes(r.folder.File("lesson.92g")), OLD);
            EXPECT_EQ(r.folder.Names(), std::vector<std::string>{"lesson.92g"});
        } else {
            EXPECT_TRUE(r.folder.Names().empty());
        }
        // Nothing reported: the calculator just stopped answering.
        EXPECT_EQ(r.messages.GetMessageIds(), existing ? std::vector<int>{IDS_OVERWRITE_FILE} : std::vector<int>{});
        EXPECT_TRUE(r.messages.GetTexts().empty());
    }
}
