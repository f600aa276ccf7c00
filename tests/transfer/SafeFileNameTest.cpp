#include "transfer/SafeFileName.h"

#include <gtest/gtest.h>

TEST(SafeFileName, OrdinaryNamesStayAsTheyAre)
{
    EXPECT_EQ(EscapeFileName("x"), "x");
    EXPECT_EQ(EscapeFileName("abcdefgh"), "abcdefgh");
    // Letters beyond ASCII are kept byte for byte.
    EXPECT_EQ(EscapeFileName("\x80\xe9t"), "\x80\xe9t");
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
}
