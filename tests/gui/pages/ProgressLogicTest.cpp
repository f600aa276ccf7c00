#include "FakeClock.h"
#include "gui/pages/ProgressLogic.h"
#include "gui/pages/ProgressView.h"
#include "text/StringIds.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int BUSY = -1;

// The progress window as the logic drives it.
struct CFakeProgressView final : IProgressView {
    int opened = 0;
    int closed = 0;
    int pumps = 0;
    std::string what;
    std::string count;
    int bar = 0;
    bool cancelPressed = false;

    bool IsOpen() const { return opened > closed; }
    void Open() override { ++opened; }
    void ShowTexts(const std::string& shownWhat, const std::string& shownCount) override
    {
        what = shownWhat;
        count = shownCount;
    }
    void ShowBar(int steps) override { bar = steps; }
    void ShowBusyBar() override { bar = BUSY; }
    bool PumpEvents() override
    {
        ++pumps;
        return cancelPressed;
    }
    void Close() override { ++closed; }
};

class ProgressLogicTest : public ::testing::Test {
protected:
    void SetUp() override { logic.SetClock(clock); }

    CFakeClock clock{10000};
    CFakeProgressView view;
    CProgressLogic logic{view};
};

TEST_F(ProgressLogicTest, ShowsWhatIsDoneAndTheBytesSoFar)
{
    const struct {
        int textId;
        const char* arg;
        uint64_t expected; // 0: not known beforehand
        uint64_t done;
        uint64_t atMs; // since the start
        const char* what; // null: no window yet
        const char* count;
        int bar;
    } rows[] = {
        {IDS_PROGRESS_DIRECTORY, "", 0, 40, 499, nullptr, "", 0},
        // Both numbers in the text: Windows once left them out (" bytes").
        {IDS_PROGRESS_DIRECTORY, "", 0, 222, 500, "Reading the calculator's directory", "222 bytes", BUSY},
        {IDS_PROGRESS_DIRECTORY, "", 0, 1234567, 900, "Reading the calculator's directory", "1,234,567 bytes", BUSY},
        {IDS_PROGRESS_RECEIVING, "main\\big", 12088, 6061, 500, "Receiving main\\big", "6,061 of 12,088 bytes", 501},
        {IDS_PROGRESS_RECEIVING, "main\\big", 999, 0, 500, "Receiving main\\big", "0 of 999 bytes", 0},
        // The expectation is close, not exact: never more done than expected.
        {IDS_PROGRESS_SENDING, "a%sb", 1000, 1500, 500, "Sending a%sb", "1,000 of 1,000 bytes", 1000},
    };
    for (const auto& row : rows) {
        view = {};
        clock.Set(10000);
        logic.ExchangeStarted(row.textId, row.arg, row.expected);
        clock.Set(10000 + row.atMs);
        logic.BytesMoved(row.done);
        EXPECT_EQ(view.IsOpen(), row.what != nullptr) << row.done;
        if (row.what != nullptr) {
            EXPECT_EQ(view.what, row.what);
            EXPECT_EQ(view.count, row.count);
            EXPECT_EQ(view.bar, row.bar) << row.count;
        }
        logic.ExchangeEnded();
        EXPECT_FALSE(view.IsOpen()) << row.done;
    }
}

TEST_F(ProgressLogicTest, RefreshesAtMostEveryFiftyMillisecondsAndCancelStopsTheExchange)
{
    logic.ExchangeStarted(IDS_PROGRESS_RECEIVING, "x", 100);
    clock.Set(10500);
    EXPECT_FALSE(logic.IsCancelRequested());
    EXPECT_EQ(view.opened, 1);
    EXPECT_EQ(view.pumps, 1);
    EXPECT_EQ(view.count, "0 of 100 bytes");

    clock.Set(10549);
    logic.BytesMoved(10);
    EXPECT_EQ(view.count, "0 of 100 bytes");
    EXPECT_EQ(view.pumps, 1);
    clock.Set(10550);
    logic.BytesMoved(20);
    EXPECT_EQ(view.count, "20 of 100 bytes");
    EXPECT_EQ(view.pumps, 2);

    // Cancel is seen when the window's events are next handled.
    view.cancelPressed = true;
    EXPECT_FALSE(logic.IsCancelRequested());
    clock.Set(10600);
    EXPECT_TRUE(logic.IsCancelRequested());
    EXPECT_TRUE(logic.IsCancelRequested());

    // The next exchange starts afresh: its own half second, no Cancel, and
    // the old window closed first.
    view.cancelPressed = false;
    logic.ExchangeStarted(IDS_PROGRESS_SENDING, "y", 0);
    EXPECT_EQ(view.closed, 1);
    EXPECT_FALSE(logic.IsCancelRequested());
    clock.Set(11099);
    logic.BytesMoved(5);
    EXPECT_EQ(view.opened, 1);
    clock.Set(11100);
    logic.BytesMoved(6);
    EXPECT_EQ(view.opened, 2);
    EXPECT_EQ(view.what, "Sending y");
    logic.ExchangeEnded();
    logic.BytesMoved(7);
    EXPECT_EQ(view.closed, 2);
    EXPECT_EQ(view.opened, 2);
}

} // namespace
