#include "transfer/SafeFileName.h"

#include <gtest/gtest.h>

TEST(SafeFileName, OrdinaryNamesStayAsTheyAre)
{
    EXPECT_EQ(EscapeFileName("x"), "x");
    EXPECT_EQ(EscapeFileName("abcdefgh"), "abcdefgh");
}

TEST(SafeFileName, TheCalculatorsLettersBecomeTheSameLettersEverywhereItsOtherBytesAreEscaped)
{
    const struct {
        const char* calc;
        const char* file;
    } cases[] = {
        {"citt\xE0", "citt\u00E0"},              // its Latin letters are Latin-1's
        {"\x80\x8C\x94", "\u03B1\u03C0\u03C9"},    // alpha, pi, omega
        {"\xC0\xFF", "\u00C0\u00FF"},
        {"\x95\xA0\xBF\xD7\xF7", "%95%A0%BF%D7%F7"}, // signs, not letters
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EscapeFileName(c.calc), c.file) << c.file;
        EXPECT_EQ(UnescapeFileName(c.file), c.calc) << c.file;
    }
}

TEST(SafeFileName, SeparatorsControlBytesAndDotNamesAreEscapedReversibly)
{
    EXPECT_EQ(EscapeFileName("../x"), "..%2Fx");
    EXPECT_EQ(EscapeFileName("a\\b"), "a%5Cb");
    EXPECT_EQ(EscapeFileName("a\x01\x7f"), "a%01%7F");
    EXPECT_EQ(EscapeFileName("."), "%2E");
    EXPECT_EQ(EscapeFileName(".."), "%2E%2E");
    EXPECT_EQ(EscapeFileName(""), "%00");
    EXPECT_EQ(EscapeFileName("5%"), "5%25");

    for (const std::string name : {"../x", "a\\b", "a\x01\x7f", ".", "..", "", "5%", "%2F", "x", "/", "..."}) {
        const std::string escaped = EscapeFileName(name);
        EXPECT_EQ(escaped.find('/'), std::string::npos) << name;
        EXPECT_NE(escaped, ".");
        EXPECT_NE(escaped, "..");
        EXPECT_EQ(UnescapeFileName(escaped), name) << escaped;
    }
}

TEST(SafeFileName, TypedGroupNamesMustNameAFileInTheShownFolder)
{
    EXPECT_TRUE(IsPlainFileName("lesson.92g"));
    EXPECT_TRUE(IsPlainFileName("my lesson.92g"));
    EXPECT_FALSE(IsPlainFileName(""));
    EXPECT_FALSE(IsPlainFileName("."));
    EXPECT_FALSE(IsPlainFileName(".."));
    EXPECT_FALSE(IsPlainFileName("../up.92g"));
    EXPECT_FALSE(IsPlainFileName("sub/x.92g"));
    EXPECT_FALSE(IsPlainFileName("c:\\x.92g"));
    EXPECT_FALSE(IsPlainFileName("tab\there.92g"));
    EXPECT_FALSE(IsPlainFileName(std::string(300, 'a')));

    // The message of a refused name names exactly the characters refused
    // here, besides control bytes.
    const std::string named = RefusedFileNameCharacters();
    for (char c = ' '; c < 0x7F; ++c) {
        const bool isNamed = c != ' ' && named.find(c) != std::string::npos;
        EXPECT_EQ(IsPlainFileName(std::string("a") + c + "b.92g"), !isNamed) << c;
    }
#ifdef _WIN32
    EXPECT_FALSE(IsPlainFileName("bad:na*me?.92g"));
#endif
}
