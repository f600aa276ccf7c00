#include "CancellingProgress.h"
#include "DirListLogicRig.h"
#include "link/VarTypes.h"
#include "text/DisplayText.h"
#include "text/StringIds.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

using Strings = std::vector<std::string>;

class DirListLogicTest : public CDirListLogicRig {
protected:
    static Strings Texts(const std::vector<ListRow>& rows, size_t column = 0)
    {
        return CFakeDirListView::Texts(rows, column);
    }
};

} // namespace

TEST_F(DirListLogicTest, DirectoryButtonAndFolderActivationFillTheLists)
{
    logic.OnRefreshDirectory();
    EXPECT_TRUE(messages.GetShown().empty());

    // The four-digit folder has no row; the last folder received is on top.
    EXPECT_EQ(Texts(view.folderRows), (Strings{"algebra", "main"}));
    EXPECT_EQ(view.folderRows[1].icon, ICON_FOLDER);
    EXPECT_EQ(view.folderRows[1].cells, Strings{std::to_string(logic.GetFolders()[0].size)});
    EXPECT_EQ(logic.GetFolders().size(), 3u);
    EXPECT_TRUE(view.varRows.empty());

    Activate("main");
    // Reverse of arrival order, with type names, icons and sizes.
    EXPECT_EQ(Texts(view.varRows), (Strings{"primes", "year", "logo", "notes", "greeting"}));
    EXPECT_EQ(Texts(view.varRows, 1), (Strings{"LIST", "EXPR", "PIC", "TEXT", "STR"}));
    EXPECT_EQ(view.varRows[0].icon, GetTypeIconIndex(VAR_LIST));
    EXPECT_EQ(view.varRows[4].icon, GetTypeIconIndex(VAR_STR));
    const SimVariable* year = calc.FindVariable("main", "year");
    ASSERT_NE(year, nullptr);
    EXPECT_EQ(view.varRows[1].cells[1], std::to_string(year->contents.size() + 2));

    // What the receive button reads: the selected folder row and the
    // selected variable rows in list order.
    view.selectedVars = {0, 3};
    std::string folder;
    ASSERT_TRUE(logic.GetSelectedFolder(folder));
    EXPECT_EQ(folder, "main");
    EXPECT_EQ(logic.GetSelectedVariableNames(), (Strings{"primes", "notes"}));

    Activate("algebra");
    EXPECT_EQ(Texts(view.varRows), (Strings{"answer", "squares", "poly"}));
}

TEST_F(DirListLogicTest, FolderMatchingIsExactAndANewListingReplacesEverything)
{
    ASSERT_TRUE(calc.AddVariable("Stuff", "big", VAR_STR, 0, {0, 'A', 0, 0x2D}));
    ASSERT_TRUE(calc.AddVariable("stuff", "small", VAR_STR, 0, {0, 'a', 0, 0x2D}));
    ASSERT_TRUE(calc.AddVariable("empty", "gone", VAR_STR, 0, {0, 0, 0x2D}));
    logic.OnRefreshDirectory();
    Activate("stuff");
    EXPECT_EQ(Texts(view.varRows), Strings{"small"});
    Activate("Stuff");
    EXPECT_EQ(Texts(view.varRows), Strings{"big"});
    logic.ShowFolderVariables("STUFF");
    EXPECT_TRUE(view.varRows.empty());

    // The next listing empties the variable list and shows new contents.
    Activate("stuff");
    ASSERT_TRUE(calc.AddVariable("stuff", "more", 0x01, 0, {0x05, 0x01, 0x1F}));
    logic.OnRefreshDirectory();
    EXPECT_TRUE(view.varRows.empty());
    Activate("stuff");
    EXPECT_EQ(Texts(view.varRows), (Strings{"more", "small"}));
    // A type the table does not know shows its byte and the spare icon.
    EXPECT_EQ(view.varRows[0].cells[0], "0x01");
    EXPECT_EQ(view.varRows[0].icon, ICON_UNKNOWN_TYPE);

    // Rows the list could not take cannot be selected for a receive.
    view.varRowsTaken = 1;
    Activate("stuff");
    view.selectedVars = {0, 1};
    EXPECT_EQ(logic.GetSelectedVariableNames(), Strings{"more"});
}

TEST_F(DirListLogicTest, FailedListingShowsItsMessageAndKeepsWhatArrived)
{
    // Entry 3 of the sample listing (main, greeting, notes...) arrives with a
    // wrong checksum.
    calc.Faults().CorruptChecksumAt(3 * 3 + 2);
    logic.OnRefreshDirectory();
    EXPECT_EQ(messages.GetMessageIds(), std::vector<int>{IDS_DIRECTORY_FAILED});
    EXPECT_EQ(Texts(view.folderRows), Strings{"main"});
    Activate("main");
    EXPECT_EQ(Texts(view.varRows), Strings{"greeting"});

    // A listing the user cancelled says so, and only that.
    calc.ClearFaults();
    CCancellingProgress cancel(100);
    rig.link.SetProgress(&cancel);
    messages.Clear();
    logic.OnRefreshDirectory();
    EXPECT_EQ(messages.GetMessageIds(), std::vector<int>{IDS_EXCHANGE_CANCELLED});
}

TEST_F(DirListLogicTest, WithoutALinkTheButtonsOnlySaySo)
{
    sheet.link = nullptr;
    rig.cable.ResetCounts();
    for (void (CDirListLogic::*button)() : {&CDirListLogic::OnRefreshDirectory, &CDirListLogic::OnReceive,
                                            &CDirListLogic::OnSend, &CDirListLogic::OnBackup,
                                            &CDirListLogic::OnRestore, &CDirListLogic::OnListen})
        (logic.*button)();
    EXPECT_EQ(messages.GetMessageIds(), std::vector<int>(6, IDS_PORT_NOT_OPENED));
    EXPECT_EQ(rig.cable.GetReadCount() + rig.cable.GetWriteCount(), 0u);
    EXPECT_TRUE(view.backupDialogs.empty());
}

TEST_F(DirListLogicTest, PcSideMovesWithTheCurrentDirectory)
{
    const fs::path root = fs::canonical(pc.Path());
    fs::create_directories(root / "lessons" / "week1");
    std::ofstream(root / "lessons" / "x.92e") << "x";
    std::ofstream(root / "top.92g") << "g";
    const auto choose = [&](const std::string& label) {
        view.selectedPcFolder = CFakeDirListView::RowOf(view.pcFolders, label);
        ASSERT_GE(view.selectedPcFolder, 0) << label;
        logic.OnSelectPcFolder();
    };

    logic.ShowPcFolder(root.string());
    EXPECT_EQ(view.pcPath, root.string());
    EXPECT_EQ(fs::current_path(), root);
    EXPECT_GE(CFakeDirListView::RowOf(view.pcFolders, "[lessons]"), 0);
    EXPECT_GE(CFakeDirListView::RowOf(view.pcFolders, "[..]"), 0);
    EXPECT_EQ(view.pcFiles, Strings{"top.92g"});

    choose("[lessons]");
    EXPECT_EQ(view.pcPath, (root / "lessons").string());
    EXPECT_EQ(fs::current_path(), root / "lessons");
    EXPECT_EQ(logic.GetPcFolderPath(), (root / "lessons").string());
    view.selectedPcFile = 0;
    EXPECT_EQ(logic.GetSelectedPcFile(), "x.92e");

    // A file written there shows after a refresh.
    std::ofstream(root / "lessons" / "new.92s") << "s";
    logic.RefreshPcFiles();
    EXPECT_EQ(view.pcFiles.size(), 2u);

    choose("[..]");
    EXPECT_EQ(fs::current_path(), root);

    // A folder that vanished meanwhile cannot be entered: nothing changes.
    choose("[lessons]");
    fs::remove_all(root / "lessons" / "week1");
    choose("[week1]");
    EXPECT_EQ(fs::current_path(), root / "lessons");
    EXPECT_EQ(view.pcPath, (root / "lessons").string());

    // The window's first showing starts in the home folder.
    logic.OnInitDialog();
    EXPECT_EQ(view.pcPath, FileNameToDisplay(fs::canonical(CPcFolder::HomeFolder()).string()));
}
