#include "CancellingProgress.h"
#include "FakePageViews.h"
#include "gui/pages/ConfigLogic.h"
#include "gui/pages/DirListLogic.h"
#include "gui/pages/GrabScreenLogic.h"
#include "gui/pages/SheetLogic.h"
#include "language/LanguageChoice.h"
#include "link/LinkProgress.h"
#include "link/Packets.h"
#include "MemorySettingsStore.h"
#include "RecordingMessages.h"
#include "settings/CommandLine.h"
#include "sim/BuiltInCalculator.h"
#include "TempFolder.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>

namespace {

using Strings = std::vector<std::string>;

// Language libraries by name: those present load.
struct CFakeLanguageLoader final : ILanguageLoader {
    std::set<std::string> present;
    std::string loaded;
    Strings calls;

    bool Load(const char* fileName) override
    {
        calls.push_back(std::string("load ") + fileName);
        loaded = present.count(fileName) ? fileName : "";
        return !loaded.empty();
    }
    void Free() override
    {
        calls.push_back("free");
        loaded.clear();
    }
};

// The sheet's logic with its configuration and its two link pages, each
// with a recording window.
class SheetLogicTest : public ::testing::Test {
protected:
    void Build(const std::string& port = "0x378", uint32_t language = 1, uint32_t timeout = 1000,
               std::optional<uint32_t> cable = std::nullopt, const std::string& serialPort = "")
    {
        m_sheet.reset();
        store.Store(port, language, timeout);
        if (cable)
            store.values["Cable"] = *cable;
        if (!serialPort.empty())
            store.values["Port_Serial"] = serialPort;
        m_config = std::make_unique<CConfigLogic>(store, messages);
        m_sheet = std::make_unique<CSheetLogic>(*m_config, languages, messages);
        m_sheet->SetLinkPages(&dirList, &grabScreen);
    }
    CSheetLogic& Sheet() { return *m_sheet; }
    void DestroySheet() { m_sheet.reset(); }

    CMemorySettingsStore store;
    CRecordingMessages messages;
    CFakeLanguageLoader languages;
    CFakeDirListView dirView;
    CDirListLogic dirList{dirView, messages};
    CFakeGrabScreenView screenView;
    CFakePictureWriter writer;
    CGrabScreenLogic grabScreen{screenView, messages, writer};
    CSimulatedCable cable;

private:
    std::unique_ptr<CConfigLogic> m_config;
    std::unique_ptr<CSheetLogic> m_sheet;
};

} // namespace

TEST_F(SheetLogicTest, TheLanguageLibraryComesFromTheSettingAndGoesWithTheSheet)
{
    const struct {
        std::set<std::string> present;
        uint32_t language;
        bool loaded;
        std::string library;
    } cases[] = {
        {{"English.dll", "Italiano.dll"}, 0, true, "Italiano.dll"},
        {{"English.dll", "Italiano.dll"}, 1, true, "English.dll"},
        {{"English.dll"}, 0, true, "English.dll"},
        {{"Italiano.dll"}, 1, false, ""},
        {{"English.dll", "Italiano.dll"}, 2, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        languages.present = c.present;
        messages.Clear();
        Build("0x378", c.language);
        EXPECT_EQ(Sheet().LoadLanguage(), c.loaded);
        EXPECT_EQ(Sheet().IsLanguageLoaded(), c.loaded);
        EXPECT_EQ(languages.loaded, c.library);
        EXPECT_EQ(Sheet().GetLanguageId(),
                  c.library == LIBRARY_ITALIAN ? LANGID_ITALIAN : c.library == LIBRARY_ENGLISH ? LANGID_ENGLISH : 0);
        EXPECT_EQ(messages.GetTexts(), c.loaded ? Strings{} : Strings{TEXT_NO_LANGUAGE_LIBRARY});
    }
    languages.calls.clear();
    DestroySheet();
    EXPECT_EQ(languages.calls, Strings{"free"});
}

TEST_F(SheetLogicTest, WithThePortOpenTheLinkTakesPortAndTimeOutOnceAndThePagesGetIt)
{
    Build("0x278", 1, 2500);
    CCancellingProgress progress;
    Sheet().SetLinkProgress(&progress);
    Sheet().GetLink().SetPortBackend(cable.MakeBackend());
    EXPECT_EQ(dirList.GetLink(), nullptr);
    ASSERT_TRUE(Sheet().OnCreate());
    EXPECT_TRUE(messages.GetShown().empty());
    CLink& link = Sheet().GetLink();
    EXPECT_EQ(link.GetDataPort(), 0x278);
    EXPECT_EQ(link.GetStatusPort(), 0x279);
    EXPECT_EQ(link.GetTimeout(), 2500u);
    EXPECT_EQ(dirList.GetLink(), &link);
    EXPECT_EQ(grabScreen.GetLink(), &link);
    // The window's progress hears of each exchange, and its Cancel, or an
    // end the program is asked for, stops it before the next byte.
    for (const bool end : {false, true}) {
        progress = CCancellingProgress(end ? UINT64_MAX : 0);
        if (end)
            Sheet().RequestEnd();
        CLinkExchange exchange(link, IDS_PROGRESS_DIRECTORY, {}, 0);
        EXPECT_FALSE(link.SendByte(0x09)) << end;
        EXPECT_TRUE(link.WasCancelled()) << end;
        EXPECT_EQ(progress.started, 1);
    }
    EXPECT_TRUE(Sheet().IsEndRequested());

    // A change saved now reaches the link only at the next start.
    store.Store("0x378", 1, 40);
    EXPECT_EQ(link.GetTimeout(), 2500u);

    Sheet().OnDestroy();
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(link.GetProgress(), nullptr);
    EXPECT_EQ(dirList.GetLink(), nullptr);
    EXPECT_EQ(grabScreen.GetLink(), nullptr);
}

TEST_F(SheetLogicTest, APortThatDoesNotOpenSaysWhyAndLeavesThePagesWithoutALink)
{
    Build("0x278", 1, 2500);
    cable.SetOpenFailure(true);
    Sheet().GetLink().SetPortBackend(cable.MakeBackend());
    EXPECT_FALSE(Sheet().OnCreate());
    EXPECT_EQ(messages.GetMessageIds(), std::vector<int>{IDS_PORT_NOT_OPENED});
    EXPECT_EQ(messages.GetShown()[0].text, "The simulated cable is unplugged.");
    EXPECT_FALSE(Sheet().HasLink());
    EXPECT_EQ(Sheet().GetLink().GetDataPort(), 0);
    EXPECT_EQ(dirList.GetLink(), nullptr);
    EXPECT_EQ(grabScreen.GetLink(), nullptr);
}

TEST_F(SheetLogicTest, TheSimulatedCalculatorAnswersThroughTheSheetsLinkOperations)
{
    Build("0x278");
    Sheet().UseSimulatedCalculator();
    ASSERT_NE(Sheet().GetSimulatedCalculator(), nullptr);
    EXPECT_EQ(Sheet().GetSimulatedCalculator()->GetCable().GetBase(), 0x278);
    ASSERT_TRUE(Sheet().OnCreate());
    EXPECT_TRUE(Sheet().SendSequence(SEQ_RDY));
    EXPECT_TRUE(Sheet().ExpectSequence(SEQ_CALC_ACK));
    EXPECT_TRUE(messages.GetShown().empty());
}

// The USB cable pulled out in the middle of a listing: the page says the
// listing failed, and the sheet says the cable was unplugged; plugged back
// in, the next listing works.
TEST_F(SheetLogicTest, AUsbCablePulledOutIsSaidToBeUnplugged)
{
    Build("0x378", 1, 1000, static_cast<uint32_t>(CableKind::Usb));
    Sheet().UseSimulatedCalculator();
    ASSERT_TRUE(Sheet().OnCreate());
    CBuiltInCalculator& calc = *Sheet().GetSimulatedCalculator();
    calc.GetUsbCable().UnplugAfterTransfers(6);
    dirList.OnRefreshDirectory();
    EXPECT_EQ(messages.GetTexts(), Strings{ProgramText(IDS_USB_UNPLUGGED)});
    EXPECT_EQ(messages.GetMessageIds().size(), 1u); // the listing's own
    EXPECT_TRUE(dirList.GetVariables().empty());
    calc.GetCable().SetOpenFailure(false);
    messages.Clear();
    dirList.OnRefreshDirectory();
    EXPECT_TRUE(messages.GetShown().empty());
    EXPECT_FALSE(dirList.GetVariables().empty());
}

// A calculator that answers nothing through a serial or the USB cable: what
// to check, beside the listing's own message; the parallel cable keeps the
// messages it always had.
TEST_F(SheetLogicTest, ACableThroughWhichNothingAnsweredSaysWhatToCheck)
{
    const struct {
        CableKind cable;
        std::string named;
    } rows[] = {
        {CableKind::GraySerial, "/dev/ttyUSB3"},
        {CableKind::BlackSerial, "/dev/ttyUSB3"},
        {CableKind::Usb, ProgramText(IDS_CABLE_USB)},
        {CableKind::Parallel, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.cable));
        Build("0x378", 1, 20, static_cast<uint32_t>(row.cable), "/dev/ttyUSB3");
        Sheet().UseSimulatedCalculator();
        ASSERT_TRUE(Sheet().OnCreate());
        Sheet().GetSimulatedCalculator()->GetCalculator().FallSilentAfterBytes(0);
        messages.Clear();
        dirList.OnRefreshDirectory();
        const auto& shown = messages.GetShown();
        // What to check as the exchange ends, then the listing's own message.
        ASSERT_EQ(shown.size(), row.named.empty() ? 1u : 2u);
        if (!row.named.empty()) {
            EXPECT_EQ(shown[0].id, IDS_CABLE_NO_ANSWER);
            EXPECT_EQ(shown[0].text, row.named);
        }
        // The calculator answers again: nothing more is said.
        Sheet().GetSimulatedCalculator()->GetCalculator().ClearFaults();
        messages.Clear();
        dirList.OnRefreshDirectory();
        EXPECT_TRUE(messages.GetShown().empty());
        DestroySheet();
    }
}

TEST_F(SheetLogicTest, TheSimulatedCalculatorSendsByItselfWhenTheUserWaitsForIt)
{
    Build();
    CCommandLine commandLine;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"--simulate", "--simulate-send", "main/nothere"}, commandLine, error));
    EXPECT_EQ(Sheet().UseSimulatedCalculator(commandLine),
              Strings{"--simulate-send: the simulated calculator holds no main\\nothere"});
    ASSERT_TRUE(ParseCommandLine({"--simulate", "--simulate-send", "main/greeting"}, commandLine, error)) << error;
    EXPECT_TRUE(Sheet().UseSimulatedCalculator(commandLine).empty());

    // Each wait ends at Cancel, pressed once the calculator has sent.
    struct CancelAtTheSecondWait final : ILinkProgress {
        void ExchangeStarted(int, const std::string&, uint64_t) override { ++started; }
        void BytesMoved(uint64_t) override {}
        bool IsCancelRequested() override { return started % 2 == 0; }
        void ExchangeEnded() override {}
        int started = 0;
    } stop;
    Sheet().SetLinkProgress(&stop);
    ASSERT_TRUE(Sheet().OnCreate());
    // The page makes the folder it shows the current one.
    const std::filesystem::path previous = std::filesystem::current_path();
    CTempFolder pc;
    dirList.ShowPcFolder(pc.Path());
    for (int press = 1; press <= 2; ++press) {
        std::filesystem::remove(SystemPath(pc.File("greeting.92s")));
        dirList.OnListen();
        EXPECT_EQ(stop.started, 2 * press);
        EXPECT_EQ(dirView.pcFiles, Strings{"greeting.92s"}) << press;
    }
    EXPECT_TRUE(messages.GetShown().empty());
    std::filesystem::current_path(previous);
}
