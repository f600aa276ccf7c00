#include "CancellingProgress.h"
#include "link/DirectoryListing.h"
#include "link/VarTypes.h"
#include "LinkRig.h"
#include "RecordingMessages.h"
#include "settings/CommandLine.h"
#include "sim/CablePace.h"
#include "sim/CalculatorFolderLoader.h"
#include "sim/VirtualCalculator.h"
#include "TempFolder.h"
#include "text/StringIds.h"
#include "transfer/ReceiveOperation.h"
#include "transfer/SendOperation.h"
#include "transfer/VariableFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

// The virtual calculator with the sample content and its directory listed.
struct SimulatedRig {
    CVirtualCalculator calc;
    CLinkRig rig{&calc};
    CRecordingMessages messages;
    CTempFolder folder;
    CDirectoryListing listing;

    SimulatedRig()
    {
        calc.LoadSampleContent();
        EXPECT_TRUE(listing.ReadDirectory(rig.link));
    }
    std::vector<std::string> NamesIn(const std::string& folderName) const
    {
        std::vector<std::string> names;
        for (const VarEntry& entry : listing.m_vars)
            if (entry.folder == folderName)
                names.push_back(entry.name);
        return names;
    }
};

std::vector<SimVariable> VariablesOf(const CCalcMemory& memory, const std::string& folder)
{
    for (const SimFolder& f : memory.GetFolders())
        if (f.name == folder)
            return f.variables;
    return {};
}

std::vector<uint8_t> SectionFrom(const std::vector<uint8_t>& contents)
{
    std::vector<uint8_t> section{0, 0, 0, 0, static_cast<uint8_t>(contents.size() >> 8),
                                 static_cast<uint8_t>(contents.size())};
    section.insert(section.end(), contents.begin(), contents.end());
    return section;
}

void ExpectSameVariables(const std::vector<SimVariable>& a, const std::vector<SimVariable>& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].name, b[i].name);
        EXPECT_EQ(a[i].type, b[i].type) << a[i].name;
        EXPECT_EQ(a[i].contents, b[i].contents) << a[i].name;
    }
}

} // namespace

TEST(SimulatedTransfer, ReceivedFilesSentBackGiveIdenticalVariables)
{
    SimulatedRig r;
    const std::vector<SimVariable> original = VariablesOf(r.calc.Memory(), "main");
    const std::vector<std::string> names = r.NamesIn("main");
    ASSERT_EQ(names.size(), original.size());

    // Every variable of main into its own file, and all of them into a group.
    CReceiveOperation receive(r.rig.link, r.messages, r.listing.m_vars);
    std::vector<std::string> singles;
    for (const std::string& name : names) {
        ASSERT_TRUE(receive.ReceiveSingle(r.folder.Path(), {"main", name})) << name;
        singles.push_back(receive.GetWrittenPath());
    }
    r.messages.AnswerText(1, "all");
    ASSERT_TRUE(receive.OnReceive(r.folder.Path(), &r.listing.m_folders[0].name, names));

    CSendOperation send(r.rig.link, r.messages);
    r.calc.Memory().Clear();
    for (const std::string& path : singles)
        ASSERT_TRUE(send.SendFile(path)) << path;
    std::vector<SimVariable> back = VariablesOf(r.calc.Memory(), "main");
    ExpectSameVariables(back, original);

    r.calc.Memory().Clear();
    ASSERT_TRUE(send.SendFile(r.folder.File("all.92g")));
    ExpectSameVariables(VariablesOf(r.calc.Memory(), "main"), original);
    EXPECT_EQ(r.calc.GetErrorsAnswered(), 0u);
}

TEST(SimulatedTransfer, AGroupFailingHalfWayThroughLeavesTheOldFile)
{
    SimulatedRig r;
    WriteBytes(r.folder.File("lesson.92g"), {1, 2, 3});
    r.messages.AnswerYesNo(true);
    r.messages.AnswerText(1, "lesson");
    // Enough for the first variable, not for the second.
    r.calc.FallSilentAfterBytes(200);
    CReceiveOperation receive(r.rig.link, r.messages, r.listing.m_vars);
    const std::string main = "main";
    EXPECT_FALSE(receive.OnReceive(r.folder.Path(), &main, r.NamesIn("main")));
    EXPECT_EQ(ReadBytes(r.folder.File("lesson.92g")), std::vector<uint8_t>({1, 2, 3}));
    EXPECT_EQ(r.folder.Names(), std::vector<std::string>{"lesson.92g"});
}

TEST(SimulatedTransfer, ACancelHalfwayLeavesTheFilesTheCalculatorAndTheLinkAsTheyWere)
{
    SimulatedRig r;
    // The calculator keeps time only to give up on an abandoned exchange.
    CFakeClock calcClock;
    CCablePace pace(1000000, calcClock);
    r.calc.SetPace(&pace);
    const std::vector<uint8_t> contents(3000, 0x41);
    ASSERT_TRUE(r.calc.AddVariable("main", "big", VAR_STR, 0, contents));
    r.listing.Clear();
    ASSERT_TRUE(r.listing.ReadDirectory(r.rig.link));
    CCancellingProgress progress(1500);
    r.rig.link.SetProgress(&progress);
    const auto expectCancelledAndIdle = [&](const char* what) {
        EXPECT_TRUE(r.rig.link.WasCancelled()) << what;
        EXPECT_LT(progress.done, 1501u) << what;
        EXPECT_EQ(r.rig.cable.GetDataRegister(), 3) << what;
        r.messages.Clear();
        // Once the calculator has given up on the abandoned exchange, the
        // next one works.
        calcClock.Advance(CCalcLinkEnd::GIVE_UP_MS);
        progress.cancelAfter = UINT64_MAX;
        CDirectoryListing again;
        EXPECT_TRUE(again.ReadDirectory(r.rig.link)) << what;
        EXPECT_FALSE(r.rig.link.WasCancelled()) << what;
        progress.cancelAfter = 1500;
    };

    // A receive over an existing file: the file keeps its bytes, nothing else is left.
    WriteBytes(r.folder.File("big.92s"), {1, 2, 3});
    r.messages.AnswerYesNo(true);
    CReceiveOperation receive(r.rig.link, r.messages, r.listing.m_vars);
    EXPECT_FALSE(receive.ReceiveSingle(r.folder.Path(), {"main", "big"}));
    EXPECT_EQ(progress.text, "main\\big");
    EXPECT_GT(progress.expectedBytes, contents.size());
    EXPECT_EQ(r.messages.GetMessageIds(), (std::vector<int>{IDS_OVERWRITE_FILE, IDS_EXCHANGE_CANCELLED}));
    EXPECT_EQ(ReadBytes(r.folder.File("big.92s")), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(r.folder.Names(), std::vector<std::string>{"big.92s"});
    expectCancelledAndIdle("receive");

    // A send stops between packets: no failure message, no variable.
    const std::vector<uint8_t> section = SectionFrom(contents);
    CVarFileBuilder builder(1);
    builder.AddVariable("sent", VAR_STR, 0, section.data(), section.size());
    WriteBytes(r.folder.File("sent.92s"), builder.Finish());
    EXPECT_FALSE(CSendOperation(r.rig.link, r.messages).SendFile(r.folder.File("sent.92s")));
    EXPECT_EQ(r.messages.GetMessageIds(), std::vector<int>{IDS_EXCHANGE_CANCELLED});
    EXPECT_EQ(r.calc.FindVariable("main", "sent"), nullptr);
    expectCancelledAndIdle("send");

    // A directory listing.
    progress.cancelAfter = 100;
    EXPECT_FALSE(r.listing.ReadDirectory(r.rig.link));
    EXPECT_FALSE(r.listing.m_vars.empty()) << "the entries before the cancel stay";
    expectCancelledAndIdle("directory");
}

TEST(SimulatedTransfer, AFolderOfFilesBecomesTheCalculatorsContent)
{
    CTempFolder folder;
    // Files of another program, one of ours, and files to pass over or refuse.
    std::filesystem::copy_file(SystemPath(SamplePath("str.92s")), SystemPath(folder.File("str.92s")));
    std::filesystem::copy_file(SystemPath(SamplePath("group.92g")), SystemPath(folder.File("group.92g")));
    const std::vector<uint8_t> section = {0, 0, 0, 0, 0, 3, 0x01, 0x1F, 0xE5};
    CVarFileBuilder builder(2);
    builder.AddVariable("one", 0x00, 0, section.data(), section.size());
    builder.AddVariable("two", 0x04, 0, section.data(), section.size());
    const std::vector<uint8_t> ours = builder.Finish();
    WriteBytes(folder.File("ours.92g"), ours);
    WriteBytes(folder.File("cut.92g"), std::vector<uint8_t>(ours.begin(), ours.end() - 3));
    WriteBytes(folder.File("README"), {'h', 'i'});
    std::filesystem::create_directory(SystemPath(folder.File("sub")));

    CCalcMemory memory;
    std::vector<std::string> problems;
    EXPECT_EQ(LoadCalculatorFolder(memory, folder.Path(), problems), 5u);
    EXPECT_EQ(problems, std::vector<std::string>{"cut.92g: damaged variable file, not loaded"});

    const SimVariable* str = memory.FindVariable("group", "str");
    ASSERT_NE(str, nullptr);
    EXPECT_EQ(str->contents, std::vector<uint8_t>({0x00, 'a', 'b', 'c', 0x00, 0x2D}));
    EXPECT_NE(memory.FindVariable("group", "X"), nullptr);
    EXPECT_NE(memory.FindVariable("group", "Y"), nullptr);
    ASSERT_NE(memory.FindVariable("main", "two"), nullptr);
    EXPECT_EQ(memory.FindVariable("main", "two")->type, 0x04);
    EXPECT_EQ(memory.FindVariable("main", "two")->contents, std::vector<uint8_t>({0x01, 0x1F, 0xE5}));

    problems.clear();
    EXPECT_EQ(LoadCalculatorFolder(memory, folder.File("missing"), problems), 0u);
    EXPECT_EQ(problems.size(), 1u);
}

TEST(SimulatedTransfer, TheSimulateOptionTakesAnOptionalFolder)
{
    CCommandLine line;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"--simulate", "/some/folder"}, line, error));
    EXPECT_TRUE(line.bSimulate);
    EXPECT_EQ(line.strSimulateFolder, "/some/folder");
    ASSERT_TRUE(ParseCommandLine({"--simulate"}, line, error));
    EXPECT_TRUE(line.bSimulate);
    EXPECT_TRUE(line.strSimulateFolder.empty());
    ASSERT_TRUE(ParseCommandLine({"--simulate", "--help"}, line, error));
    EXPECT_TRUE(line.strSimulateFolder.empty());
    EXPECT_FALSE(ParseCommandLine({"/some/folder"}, line, error));
}
