#include "link/KeyPacket.h"
#include "link/KeyTable.h"
#include "link/Packets.h"
#include "LinkRig.h"
#include "PcScripts.h"
#include "screen/ScreenCapture.h"
#include "sim/HomeCommands.h"
#include "sim/HomeSession.h"
#include "sim/VirtualCalculator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace {

constexpr uint16_t L = KEY_LEFT, C = KEY_CLEAR, BS = KEY_BACKSPACE, E = KEY_ENTER;
constexpr uint16_t DEL = KEY_MOD_DIAMOND + KEY_BACKSPACE;

std::vector<uint16_t> Typed(const std::string& text)
{
    return std::vector<uint16_t>(text.begin(), text.end());
}

std::vector<uint16_t> operator+(std::vector<uint16_t> a, const std::vector<uint16_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Dark pixels in the rows of the entry line.
size_t EntryLinePixels(const SimScreen& screen)
{
    size_t dark = 0;
    for (int row = 105; row < 113; ++row)
        for (int column = 2; column < SIM_SCREEN_ROW_BYTES; ++column)
            dark += static_cast<size_t>(__builtin_popcount(screen[static_cast<size_t>(row * SIM_SCREEN_ROW_BYTES + column)]));
    return dark;
}

} // namespace

TEST(HomeSession, EditsTheEntryLineAsTheCalculatorDoes)
{
    struct Row {
        std::vector<uint16_t> keys;
        std::string entry;
        size_t cursor;
        bool selected;
    };
    const Row rows[] = {
        {Typed("12345"), "12345", 5, false},
        // CLEAR inside the line clears what follows the cursor, at its end the whole line.
        {Typed("12345") + std::vector<uint16_t>{L, L, C}, "123", 3, false},
        {Typed("12345") + std::vector<uint16_t>{L, L, C, C}, "", 0, false},
        {Typed("12345") + std::vector<uint16_t>{L, L, BS, DEL}, "125", 2, false},
        {Typed("12") + std::vector<uint16_t>{KEY_MOD_2ND + L, '9', KEY_MOD_2ND + KEY_RIGHT, '0'}, "9120", 4, false},
        {Typed("12") + std::vector<uint16_t>{KEY_ESC}, "", 0, false},
        // ENTER leaves the entry selected; typing replaces it, CLEAR empties it.
        {Typed("2+3") + std::vector<uint16_t>{E}, "2+3", 3, true},
        {Typed("2+3") + std::vector<uint16_t>{E, '7'}, "7", 1, false},
        {Typed("2+3") + std::vector<uint16_t>{E, C}, "", 0, false},
        {std::vector<uint16_t>{KEY_SIN, 'x', ')', KEY_F1, KEY_MOD_2ND + KEY_F1, KEY_HOME}, "sin(x)", 6, false},
    };
    for (const Row& row : rows) {
        CCalcMemory memory;
        CHomeSession home;
        for (uint16_t key : row.keys)
            home.OnKey(key, memory);
        EXPECT_EQ(home.GetEntry(), row.entry) << row.entry;
        EXPECT_EQ(home.GetCursor(), row.cursor) << row.entry;
        EXPECT_EQ(home.IsEntrySelected(), row.selected) << row.entry;
    }
}

TEST(HomeSession, CommandsActOnTheMemoryAndAnswer)
{
    CCalcMemory memory;
    memory.AddVariable("main", "a", 0x0C, 0, {0, 'x', 0, 0x2D});
    memory.AddVariable("work", "b", 0x0C, 0, {0, 'y', 0, 0x2D});
    memory.AddVariable("work", "c", 0x0C, 0, {0, 'z', 0, 0x2D});
    memory.AddVariable("main", "hello", 0x12, 0, {0x00, 0xE9});
    memory.AddVariable("main", "twice", 0x13, 0, {0x00, 0xE9});
    const std::pair<std::string, std::string> rows[] = {
        {"2+3", "5"},
        {"7/2", "7/2"},
        {"(1+2)*3-2^3", "1"},
        {"\xAD" "4+1", "-3"}, // the negation key's sign
        {"6/4*2", "3"},
        {"1/0", "undef"},
        {"99999999999*99999999999", "99999999999*99999999999"},
        {"x+1", "x+1"},
        {"2+", "2+"},
        {"hello()", "Done"},
        {"main\\twice(3)", "main\\twice(3)"},
        {"nothere(1)", "nothere(1)"},
        {"NewFold Games", "Done"},
        {"newfold games", "Error: Duplicate name"},
        {"NewFold 9lives", "Error: Invalid name"},
        {"DelVar a, work\\b", "Done"},
    };
    for (const auto& [entry, answer] : rows)
        EXPECT_EQ(RunHomeCommand(entry, memory), answer) << entry;
    EXPECT_TRUE(memory.HasFolder("games"));
    EXPECT_EQ(memory.FindVariable("main", "a"), nullptr);
    EXPECT_EQ(memory.FindVariable("work", "b"), nullptr);
    EXPECT_NE(memory.FindVariable("work", "c"), nullptr);
}

TEST(HomeSession, KeyPacketsDriveTheScreenThatTheLinkCaptures)
{
    CVirtualCalculator calc;
    calc.LoadSampleContent();
    CLinkRig rig(&calc);
    std::array<uint8_t, SCREEN_BYTES> captured{};
    ASSERT_TRUE(ReceiveScreen(rig.link, captured));
    const SimScreen start = calc.Screen();

    for (uint16_t key : Typed("2+3"))
        ASSERT_TRUE(SendKeyPress(rig.link, key));
    EXPECT_NE(calc.Screen(), start) << "the home screen replaces the start screen";
    EXPECT_GT(EntryLinePixels(calc.Screen()), 0u);
    ASSERT_TRUE(ReceiveScreen(rig.link, captured));
    for (size_t i = 0; i < captured.size(); ++i)
        ASSERT_EQ(captured[i], static_cast<uint8_t>(~calc.Screen()[i])) << "byte " << i;

    ASSERT_TRUE(SendKeyPress(rig.link, KEY_ENTER));
    ASSERT_TRUE(SendKeyPress(rig.link, KEY_CLEAR));
    EXPECT_EQ(EntryLinePixels(calc.Screen()), 0u);
    EXPECT_EQ(calc.Home().GetHistory().back().second, "5");

    // A key in the middle of another exchange is refused, as any stray packet.
    ASSERT_TRUE(rig.link.SendSequence(SEQ_RDY) && rig.link.ExpectSequence(SEQ_CALC_ACK));
    ASSERT_TRUE(rig.link.SendSequence(SEQ_DIR_REQ) && rig.link.ExpectSequence(SEQ_CALC_ACK));
    const pc::Bytes reply = pc::Receive(rig.link, 4 + 6 + 2);
    ASSERT_EQ(reply.size(), 12u);
    EXPECT_FALSE(SendKeyPress(rig.link, '9'));
    EXPECT_EQ(calc.GetErrorsAnswered(), 1u);
    EXPECT_EQ(calc.Home().GetEntry(), "");
}
