#include "DirListLogicRig.h"
#include "link/VarTypes.h"
#include "text/StringIds.h"

#include <gtest/gtest.h>

namespace {

using Strings = std::vector<std::string>;

// The directory listed with a program in main, main opened, the pause
// between keys on the rig's clock.
class DirListRemote : public CDirListLogicRig {
protected:
    void SetUp() override
    {
        CDirListLogicRig::SetUp();
        calc.AddVariable("main", "hello", VAR_PRG, 0, {0x00, 0xE9});
        logic.SetKeyClock(rig.clock, [this](uint64_t ms) { rig.clock.Advance(ms); });
        logic.OnRefreshDirectory();
        ASSERT_NO_FATAL_FAILURE(Activate("main"));
        messages.Clear();
    }
    Strings ShownVariables() const { return CFakeDirListView::Texts(view.varRows); }
};

} // namespace

TEST_F(DirListRemote, DeletesTheSelectedVariablesAndShowsTheListAsItIsNow)
{
    logic.OnDelete();
    EXPECT_EQ(messages.GetMessageIds(), std::vector<int>{IDS_NO_VAR_TO_DELETE});

    messages.Clear();
    SelectVariables({"year", "notes"});
    messages.AnswerYesNo(true);
    logic.OnDelete();
    EXPECT_EQ(messages.GetMessageIds(), (std::vector<int>{IDS_DELETE_CONFIRM, IDS_DELETE_DONE}));
    EXPECT_EQ(calc.FindVariable("main", "year"), nullptr);
    const Strings shown = ShownVariables();
    EXPECT_EQ(std::count(shown.begin(), shown.end(), "year") + std::count(shown.begin(), shown.end(), "notes"), 0);
    EXPECT_EQ(shown.size(), calc.Memory().GetFolders()[0].variables.size());
}

TEST_F(DirListRemote, MakesTheFolderNamedInTheDialog)
{
    messages.AnswerText(2);
    logic.OnNewFolder();
    EXPECT_FALSE(calc.Home().IsInUse()) << "a cancelled dialog sends nothing";

    messages.AnswerText(1, "Games");
    logic.OnNewFolder();
    EXPECT_EQ(messages.GetMessageIds().back(), IDS_FOLDER_MADE);
    const Strings folders = CFakeDirListView::Texts(view.folderRows);
    EXPECT_NE(std::find(folders.begin(), folders.end(), "games"), folders.end());
}

TEST_F(DirListRemote, RunsTheSelectedProgramWithTheArgumentsAskedFor)
{
    SelectVariables({"year"});
    logic.OnRun();
    EXPECT_EQ(messages.GetMessageIds(), std::vector<int>{IDS_NO_PROGRAM_SELECTED});

    SelectVariables({"hello"});
    messages.AnswerText(2);
    logic.OnRun();
    EXPECT_FALSE(calc.Home().IsInUse()) << "a cancelled dialog sends nothing";

    messages.AnswerText(1, "1,2");
    logic.OnRun();
    ASSERT_EQ(calc.Home().GetHistory().size(), 1u);
    EXPECT_EQ(calc.Home().GetHistory()[0].first, "main\\hello(1,2)");
    EXPECT_EQ(messages.GetMessageIds().back(), IDS_RUN_DONE);
}
