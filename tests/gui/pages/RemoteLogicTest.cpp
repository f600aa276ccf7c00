#include "CancellingProgress.h"
#include "FakePageViews.h"
#include "gui/pages/GrabScreenLogic.h"
#include "gui/pages/RemoteLogic.h"
#include "gui/pages/RemoteView.h"
#include "link/KeySender.h"
#include "link/KeyTable.h"
#include "LinkRig.h"
#include "RecordingMessages.h"
#include "screen/PictureBits.h"
#include "sim/VirtualCalculator.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <span>

namespace {

struct CFakeRemoteView final : IRemoteView {
    void ShowScreen(const std::vector<uint8_t>& shown, unsigned zoom) override { bits = shown, shownZoom = zoom, ++screens; }
    void ShowModifiers(uint16_t shown) override { modifiers = shown; }
    void ShowStatus(const std::string& r, const std::string& q, const std::string& p) override
    {
        rate = r, queue = q, problem = p;
    }
    void ScheduleTick(uint64_t ms) override { tick = ms; }
    void PumpEvents() override
    {
        pumpTimes.push_back(clock->Peek());
        if (onPump)
            onPump();
    }
    bool IsHidden() const override { return hidden; }
    void EndWindow() override { ended = true; }

    CFakeClock* clock = nullptr;
    std::vector<uint8_t> bits;
    unsigned shownZoom = 0;
    int screens = 0;
    uint16_t modifiers = 0;
    std::string rate, queue, problem;
    std::optional<uint64_t> tick;
    std::vector<uint64_t> pumpTimes;
    std::function<void()> onPump;
    bool hidden = false;
    bool ended = false;
};

// The remote window's logic on a link to the sample calculator, the
// sheet's progress on the link, the window opened.
class RemoteLogicTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        calc.LoadSampleContent();
        view.clock = &windowClock;
        logic.SetClock(windowClock);
        rig.link.SetProgress(&sheetProgress);
        logic.OnOpen(&rig.link);
    }

    // Runs the ticks the window asked for, each when it is due, up to `count`.
    void RunTicks(int count)
    {
        for (int i = 0; i < count && view.tick; ++i) {
            windowClock.Advance(*view.tick);
            view.tick.reset();
            logic.OnTick();
        }
    }
    void Click(const char* keyName)
    {
        const CalcKey* key = FindKeyNamed(keyName);
        ASSERT_NE(key, nullptr) << keyName;
        logic.OnFaceClick(key->x + 1, key->y + 1);
    }
    // The picture shown is the calculator's screen as it is now.
    bool ShowsTheCalculatorsScreen()
    {
        std::array<uint8_t, SCREEN_BYTES> light;
        for (size_t i = 0; i < light.size(); ++i)
            light[i] = static_cast<uint8_t>(~calc.Screen()[i]);
        std::vector<uint8_t> expected;
        return BuildPictureBits(light, CRemoteLogic::SCREEN_ZOOM, expected) && view.bits == expected;
    }

    CVirtualCalculator calc;
    CLinkRig rig{&calc};
    // The window's time stands still unless a test moves it: a screen is
    // read in no time, as from a fast calculator.
    CFakeClock windowClock{1000, 0};
    CCancellingProgress sheetProgress;
    CFakeRemoteView view;
    CRemoteLogic logic{view};
};

} // namespace

TEST_F(RemoteLogicTest, ClickedKeysReachTheCalculatorAndItsScreenFollows)
{
    EXPECT_EQ(view.tick, std::optional<uint64_t>(0));
    RunTicks(1);
    EXPECT_EQ(logic.GetFramesShown(), 1u);
    EXPECT_TRUE(ShowsTheCalculatorsScreen());

    for (const char* key : {"2", "+", "3", "ENTER"})
        Click(key);
    EXPECT_EQ(view.queue, ProgramText(IDS_REMOTE_QUEUE, {"2 + 3 ENTER"}));
    // One key a tick, the calculator's pause apart, before any screen.
    std::vector<uint64_t> sentAt;
    for (int i = 0; i < 4; ++i) {
        RunTicks(1);
        sentAt.push_back(windowClock.Peek());
    }
    EXPECT_EQ(logic.GetFramesShown(), 1u);
    EXPECT_EQ(view.queue, ProgramText(IDS_REMOTE_QUEUE_EMPTY));
    for (size_t i = 1; i < sentAt.size(); ++i)
        EXPECT_GE(sentAt[i] - sentAt[i - 1], CKeySender::KEY_GAP_MS);
    ASSERT_EQ(calc.Home().GetHistory().size(), 1u);
    EXPECT_EQ(calc.Home().GetHistory()[0].second, "5");

    RunTicks(4);
    EXPECT_EQ(logic.GetFramesShown(), 5u);
    EXPECT_TRUE(ShowsTheCalculatorsScreen());
    EXPECT_EQ(view.shownZoom, 2u);
    // Over the last seconds, those a fast calculator gives: one a MIN_FRAME_MS.
    RunTicks(100);
    EXPECT_EQ(logic.GetRateTenths(), 10 * 1000 / CRemoteLogic::MIN_FRAME_MS);
    EXPECT_EQ(view.rate, ProgramText(IDS_REMOTE_RATE, {"20", "0"}));
    EXPECT_EQ(view.problem, "");
    // The window's own progress, not the sheet's dialog, hears of the reads.
    EXPECT_EQ(sheetProgress.started, 0);
}

TEST_F(RemoteLogicTest, ModifiersLatchForTheNextKeyAndPcKeysMapToCalculatorKeys)
{
    Click("DIAMOND");
    EXPECT_EQ(view.modifiers, KEY_MOD_DIAMOND);
    Click("2ND");
    Click("2ND");
    Click("Q");
    EXPECT_EQ(view.modifiers, 0);
    EXPECT_EQ(logic.GetQueue().back(), KEY_HOME);

    struct Row {
        std::function<bool()> press;
        std::optional<uint16_t> code;
    };
    const Row rows[] = {
        {[&] { return logic.OnPcCharacter(U'a', 0); }, 'a'},
        {[&] { return logic.OnPcCharacter(U'A', PC_SHIFT); }, 'A'},
        {[&] { return logic.OnPcCharacter(U'q', PC_CTRL); }, KEY_HOME},
        {[&] { return logic.OnPcCharacter(U'1', PC_ALT); }, KEY_MOD_2ND + '1'},
        {[&] { return logic.OnPcCharacter(U'\u03B8', 0); }, 136},
        {[&] { return logic.OnPcCharacter(U'\u00E9', 0); }, std::nullopt},
        {[&] { return logic.OnPcKey(PcKey::Delete, 0); }, KEY_MOD_DIAMOND + KEY_BACKSPACE},
        {[&] { return logic.OnPcKey(PcKey::Left, PC_SHIFT); }, KEY_MOD_SHIFT + KEY_LEFT},
        {[&] { return logic.OnPcKey(PcKey::Escape, PC_ALT); }, KEY_QUIT},
        {[&] { return logic.OnPcKey(PcKey::F8, 0); }, KEY_F8},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const size_t queued = logic.GetQueue().size();
        EXPECT_EQ(rows[i].press(), rows[i].code.has_value()) << i;
        if (rows[i].code)
            EXPECT_EQ(logic.GetQueue().back(), *rows[i].code) << i;
        else
            EXPECT_EQ(logic.GetQueue().size(), queued) << i;
    }
    // A drawn modifier also goes with a key typed on the PC.
    Click("SHIFT");
    logic.OnPcKey(PcKey::Up, 0);
    EXPECT_EQ(logic.GetQueue().back(), KEY_MOD_SHIFT + KEY_UP);
}

TEST_F(RemoteLogicTest, TheWindowLivesWhileAScreenIsReadAndClosesAfterIt)
{
    // During the read the window's events are handled every few
    // milliseconds; a click queues, a tick waits, a close waits for the end.
    windowClock.SetStep(1);
    int pumps = 0;
    view.onPump = [&] {
        if (++pumps == 3) {
            Click("7");
            logic.OnTick();
            EXPECT_FALSE(logic.OnClose());
        }
    };
    RunTicks(1);
    ASSERT_GT(view.pumpTimes.size(), 100u);
    for (size_t i = 1; i < view.pumpTimes.size(); ++i)
        ASSERT_GE(view.pumpTimes[i] - view.pumpTimes[i - 1], CRemoteLogic::PUMP_EVERY_MS) << "not more often";
    EXPECT_TRUE(view.ended);
    EXPECT_EQ(logic.GetFramesShown(), 0u) << "the screen read was not shown into a closing window";
    EXPECT_TRUE(calc.IsIdle()) << "the read was not broken off";
    EXPECT_EQ(rig.link.GetProgress(), &sheetProgress);
    EXPECT_EQ(calc.Home().GetEntry(), "") << "nothing is sent once the window closes";
}

TEST_F(RemoteLogicTest, PausesWhileHiddenAndSaysWhatWentWrong)
{
    view.hidden = true;
    RunTicks(3);
    EXPECT_EQ(logic.GetFramesShown(), 0u);
    EXPECT_EQ(view.tick, std::optional<uint64_t>(CRemoteLogic::HIDDEN_POLL_MS));
    EXPECT_EQ(view.problem, ProgramText(IDS_REMOTE_PAUSED));
    // Keys still go.
    Click("9");
    RunTicks(1);
    EXPECT_EQ(calc.Home().GetEntry(), "9");

    view.hidden = false;
    calc.FallSilentAfterBytes(0);
    RunTicks(1);
    EXPECT_EQ(view.problem, ProgramText(IDS_CAPTURE_FAILED));
    EXPECT_EQ(view.tick, std::optional<uint64_t>(CRemoteLogic::RETRY_MS));
    // A key that is not acknowledged drops the keys after it.
    for (const char* key : {"1", "2"})
        Click(key);
    RunTicks(1);
    EXPECT_EQ(view.problem, ProgramText(IDS_KEY_NOT_ACKNOWLEDGED, {"1"}));
    EXPECT_TRUE(logic.GetQueue().empty());

    calc.ClearFaults();
    RunTicks(1);
    EXPECT_EQ(view.problem, "");
    EXPECT_EQ(logic.GetFramesShown(), 1u);
}

TEST(RemoteLogic, WithoutALinkSaysSoAndReadsNothing)
{
    CFakeRemoteView view;
    CRemoteLogic logic(view);
    logic.OnOpen(nullptr);
    EXPECT_FALSE(view.tick);
    EXPECT_NE(view.problem, "");
    EXPECT_TRUE(logic.OnClose());
}

TEST(RemoteLogic, TheScreenPageOpensTheWindowOnItsLinkOnly)
{
    CFakeGrabScreenView view;
    CRecordingMessages messages;
    CFakePictureWriter writer;
    CGrabScreenLogic page(view, messages, writer);
    page.OnRemote();
    EXPECT_EQ(messages.GetMessageIds(), std::vector<int>{IDS_PORT_NOT_OPENED});
    EXPECT_TRUE(view.remoteWindows.empty());

    CLinkRig rig;
    CFakeSheet sheet;
    sheet.link = &rig.link;
    page.SetSheet(&sheet);
    page.OnRemote();
    EXPECT_EQ(view.remoteWindows, std::vector<CLink*>{&rig.link});
}
