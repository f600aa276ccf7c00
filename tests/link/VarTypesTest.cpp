#include "link/VarTypes.h"
#include "text/DisplayText.h"

#include <gtest/gtest.h>

#include <set>

TEST(VarTypes, EveryVariableTypeHasItsNameIconAndExtension)
{
    struct Row {
        uint8_t type;
        const char* name;
        const char* extension;
    };
    const Row rows[] = {{0x00, "EXPR", ".92e"}, {0x04, "LIST", ".92l"}, {0x06, "MAT", ".92m"},
                        {0x0A, "DAT", ".92c"},  {0x0B, "TEXT", ".92t"}, {0x0C, "STR", ".92s"},
                        {0x0D, "GFX", ".92d"},  {0x0E, "FIG", ".92a"},  {0x10, "PIC", ".92i"},
                        {0x12, "PRG", ".92p"},  {0x13, "FUNC", ".92f"}, {0x14, "MACR", ".92x"}};
    std::set<int> icons;
    for (const Row& r : rows) {
        EXPECT_EQ(GetTypeExtension(r.type), r.extension) << int(r.type);
        EXPECT_EQ(GetTypeDisplayName(r.type), r.name);
        icons.insert(GetTypeIconIndex(r.type));
    }
    // Twelve distinct icons, 2 to 13, in table order.
    EXPECT_EQ(icons.size(), 12u);
    EXPECT_EQ(*icons.begin(), 2);
    EXPECT_EQ(*icons.rbegin(), ICON_COUNT - 1);
    EXPECT_EQ(GetTypeIconIndex(VAR_EXPR), 2);
    EXPECT_EQ(GetTypeIconIndex(VAR_MACR), 13);
}

TEST(VarTypes, UnknownAndNonVariableTypesHaveNoExtensionAndShowTheirByte)
{
    for (uint8_t type : {0x01, 0x0F, 0x11, 0x19, 0x1F, 0xFF}) {
        EXPECT_EQ(GetTypeExtension(type), "") << int(type);
        EXPECT_EQ(GetTypeIconIndex(type), ICON_UNKNOWN_TYPE);
    }
    EXPECT_EQ(GetTypeDisplayName(0x0F), "0x0F");
    EXPECT_EQ(GetTypeDisplayName(0xFF), "0xFF");
    ASSERT_NE(FindVarType(FOLDER_ENTRY_TYPE), nullptr);
    EXPECT_EQ(FindVarType(FOLDER_ENTRY_TYPE)->iconIndex, ICON_FOLDER);
}

TEST(DisplayText, UnshowableBytesAreEscapedAndTheRestKept)
{
    EXPECT_EQ(CalcNameToDisplay("main"), "main");
    EXPECT_EQ(CalcNameToDisplay(std::string("a\x00\x80\x7f", 4)), "a\\x00\\x80\\x7F");

    EXPECT_EQ(FileNameToDisplay("r\xC3\xA9sum\xC3\xA9.92e"), "r\xC3\xA9sum\xC3\xA9.92e");
    EXPECT_EQ(FileNameToDisplay("bad\xFFname"), "bad\\xFFname");
    EXPECT_EQ(FileNameToDisplay("cut\xC3"), "cut\\xC3");
    EXPECT_EQ(FileNameToDisplay("line\nbreak"), "line\\x0Abreak");
    EXPECT_EQ(FileNameToDisplay("\xE0\x80\xAF"), "\\xE0\\x80\\xAF"); // overlong
    EXPECT_EQ(FileNameToDisplay("\xED\xA0\x80"), "\\xED\\xA0\\x80"); // surrogate
    EXPECT_EQ(FileNameToDisplay("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");
}
