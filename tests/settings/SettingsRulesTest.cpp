// The settings rules that need no store: the port text as a number, the
// version text and the typed time-out.

#include "settings/Settings.h"
#include "text/HexText.h"
#include "text/StringIds.h"

#include <gtest/gtest.h>

namespace {

TEST(HexTextTest, ReadsPortTextsFromTheEnd)
{
    EXPECT_EQ(ParseHexText("0x378"), 0x378u);
    EXPECT_EQ(ParseHexText("0x278"), 0x278u);
    EXPECT_EQ(ParseHexText("0x3 78"), 0x378u);
    EXPECT_EQ(ParseHexText("0x3\t7,8"), 0x378u);
    EXPECT_EQ(ParseHexText("378h  "), 0x378u);
    EXPECT_EQ(ParseHexText("0X3bC"), 0x3BCu);
    // Another character takes a place but adds nothing.
    EXPECT_EQ(ParseHexText("0x3-78"), 0x3078u);
    EXPECT_EQ(ParseHexText("LPT"), 0u);
    EXPECT_EQ(ParseHexText(""), 0u);
    // Places beyond the eighth fall out of 32 bits.
    EXPECT_EQ(ParseHexText("123456789"), 0x23456789u);
    EXPECT_EQ(ParseHexText("fffffffff"), 0xFFFFFFFFu);
}

TEST(SettingsRulesTest, VersionTextTakesFirstAndThirdProductNumbers)
{
    EXPECT_EQ(SettingsVersionText(), "1.0");
}

TEST(SettingsRulesTest, TimeoutMustBeAnIntegerFromOneToTenThousand)
{
    const std::string range = "Please enter an integer between 1 and 10000.";
    const std::string positive = TEXT_ENTER_POSITIVE_INTEGER;
    struct Case {
        const char* text;
        bool valid;
        uint32_t value;
        std::string message;
    };
    const Case cases[] = {
        {"1", true, 1, ""},        {"10000", true, 10000, ""},    {" 2500 ", true, 2500, ""},
        {"0", false, 0, range},     {"10001", false, 0, range},    {"99999999999999999999", false, 0, range},
        {"", false, 0, positive},   {"abc", false, 0, positive},   {"-5", false, 0, positive},
        {"12a", false, 0, positive}, {"1 000", false, 0, positive},
    };
    for (const Case& c : cases) {
        uint32_t value = 7;
        std::string message;
        EXPECT_EQ(ParseTimeoutText(c.text, value, message), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(value, c.value) << c.text;
        } else {
            EXPECT_EQ(message, c.message) << c.text;
        }
    }
}

} // namespace
