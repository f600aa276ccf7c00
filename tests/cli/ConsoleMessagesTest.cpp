#include "cli/ConsoleMessages.h"

#include "text/StringIds.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string Texts(int id)
{
    switch (id) {
    case IDS_OVERWRITE_FILE: return "The file %s exists, overwrite it?";
    case IDS_VAR_NOT_FOUND: return "Variable not found\r\non the calculator.";
    default: return {};
    }
}

} // namespace

TEST(ConsoleMessages, PrintsLanguageTextsWithTheArgumentAndTerminalLineBreaks)
{
    std::ostringstream err;
    std::istringstream in;
    CConsoleMessages messages(err, in, Texts);
    messages.ShowMessage(IDS_VAR_NOT_FOUND);
    messages.ShowText("Unattended end-condition returned by calculator!");
    // A text the library lacks still says which message it was.
    messages.ShowMessage(IDS_NOT_READY, "x");
    EXPECT_EQ(err.str(), "Variable not found\non the calculator.\n"
                         "Unattended end-condition returned by calculator!\n"
                         "Message 119: x\n");
    EXPECT_EQ(messages.GetShownIds(), (std::vector<int>{IDS_VAR_NOT_FOUND, IDS_NOT_READY}));
}

TEST(ConsoleMessages, QuestionsAreAnsweredNoWithoutATerminalAndYesWhenForced)
{
    std::ostringstream err;
    std::istringstream in("y\n");
    CConsoleMessages messages(err, in, Texts);
    EXPECT_FALSE(messages.AskYesNo(IDS_OVERWRITE_FILE, "x.92e"));
    EXPECT_TRUE(messages.WasQuestionDeclined());
    EXPECT_NE(err.str().find("The file x.92e exists, overwrite it? no"), std::string::npos);

    CConsoleMessages forced(err, in, Texts);
    forced.SetAnswerYes(true);
    EXPECT_TRUE(forced.AskYesNo(IDS_OVERWRITE_FILE, "x.92e"));
    EXPECT_FALSE(forced.WasQuestionDeclined());
}

TEST(ConsoleMessages, OnATerminalTheAnswerIsRead)
{
    for (const auto& [typed, yes] : std::vector<std::pair<std::string, bool>>{
             {"y\n", true}, {"Yes\n", true}, {"si\n", true}, {"n\n", false}, {"\n", false}, {"", false}}) {
        std::ostringstream err;
        std::istringstream in(typed);
        CConsoleMessages messages(err, in, Texts);
        messages.SetInteractive(true);
        EXPECT_EQ(messages.AskYesNo(IDS_OVERWRITE_FILE, "a"), yes) << typed;
        EXPECT_NE(err.str().find("[y/N]"), std::string::npos);
    }
}

TEST(ConsoleMessages, TheGroupNameIsGivenOnceAndARepeatedPromptMeansItWasRefused)
{
    std::ostringstream err;
    std::istringstream in;
    CConsoleMessages messages(err, in, Texts);
    messages.SetGroupName("lesson");
    std::string text;
    EXPECT_EQ(messages.AskText(IDS_GROUP_NAME_TITLE, IDS_GROUP_NAME_PROMPT, text), 1);
    EXPECT_EQ(text, "lesson");
    EXPECT_FALSE(messages.WasGroupNameRefused());
    EXPECT_EQ(messages.AskText(IDS_GROUP_NAME_TITLE, IDS_GROUP_NAME_PROMPT, text), 2);
    EXPECT_TRUE(messages.WasGroupNameRefused());
}
