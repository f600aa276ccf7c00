#include "cli/ConsoleMessages.h"
#include "cli/ProgressMeter.h"

#include "FakeClock.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(ProgressMeter, StaysQuietForTheFirstSecondThenRedrawsAFewTimesASecond)
{
    std::ostringstream out;
    CFakeClock clock;
    CProgressMeter meter(out, true, clock);
    meter.Begin("receiving main\\x", 1000);
    clock.Set(999);
    meter.AddBytes(100);
    EXPECT_EQ(out.str(), "");
    clock.Set(1000);
    meter.AddBytes(150);
    EXPECT_NE(out.str().find("\rreceiving main\\x: 250 of 1000 bytes (25%)"), std::string::npos);
    const std::string once = out.str();
    clock.Set(1100);
    meter.AddBytes(10);
    EXPECT_EQ(out.str(), once);
    clock.Set(1200);
    meter.AddBytes(2000);
    // More than expected never reads as complete before the end.
    EXPECT_NE(out.str().find("2260 of 1000 bytes (99%)"), std::string::npos);
    clock.Set(2500);
    meter.End();
    EXPECT_NE(out.str().find("2260 bytes in 2.5 s"), std::string::npos);
    EXPECT_EQ(out.str().back(), '\n');
}

TEST(ProgressMeter, ShortOrDisabledRunsPrintNothing)
{
    std::ostringstream out;
    CFakeClock clock;
    CProgressMeter quick(out, true, clock);
    quick.Begin("x", 10);
    clock.Set(300);
    quick.AddBytes(10);
    quick.End();

    CProgressMeter off(out, false, clock);
    off.Begin("x", 10);
    clock.Set(5000);
    off.AddBytes(10);
    off.End();
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(off.GetBytes(), 10u);
}

TEST(ProgressMeter, AMessageTakesTheLineOffTheScreenAndKeepsItsOwn)
{
    std::ostringstream out;
    CFakeClock clock;
    CProgressMeter meter(out, true, clock);
    std::istringstream in;
    CConsoleMessages messages(out, in, [](int) { return std::string("Received."); });
    messages.SetProgressMeter(&meter);

    meter.Begin("receiving x", 100);
    clock.Set(1500);
    meter.AddBytes(50);
    messages.ShowMessage(108);
    clock.Set(1600);
    meter.End();
    // The message stands on a line of its own, after the cleared progress
    // line, and the summary follows it.
    const std::string text = out.str();
    const size_t message = text.find("\r\x1b[KReceived.\n");
    ASSERT_NE(message, std::string::npos) << text;
    EXPECT_NE(text.find("receiving x: 50 bytes in 1.6 s", message), std::string::npos) << text;
}
