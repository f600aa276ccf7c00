#include "DirListLogicRig.h"
#include "link/LinkProgress.h"
#include "text/StringIds.h"
#include "transfer/VarFileReader.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using Strings = std::vector<std::string>;

// The directory listed, the folder "main" opened and the scratch folder
// shown on the PC side.
class DirListTransfer : public CDirListLogicRig {
protected:
    void SetUp() override
    {
        CDirListLogicRig::SetUp();
        logic.ShowPcFolder(pc.Path());
        logic.OnRefreshDirectory();
        ASSERT_NO_FATAL_FAILURE(Activate("main"));
        messages.Clear();
    }
};

} // namespace

TEST_F(DirListTransfer, SelectedVariablesAreReceivedIntoTheShownFolder)
{
    SelectVariables({"greeting"});
    logic.OnReceive();
    EXPECT_EQ(messages.GetMessageIds(), std::vector<int>{IDS_FILE_RECEIVED});
    // The file list shows what was written.
    EXPECT_EQ(view.pcFiles, Strings{"greeting.92s"});

    messages.Clear();
    messages.AnswerText(1, "lesson");
    SelectVariables({"year", "notes", "primes"});
    logic.OnReceive();
    EXPECT_EQ(messages.GetMessageIds(), std::vector<int>{IDS_FILES_RECEIVED});
    EXPECT_EQ(view.pcFiles, (Strings{"greeting.92s", "lesson.92g"}));

    std::ifstream in(SystemPath(pc.File("lesson.92g")), std::ios::binary);
    CVarFileReader file(in);
    ASSERT_EQ(file.Check(), VarFileCheck::Ok);
    // In the order of the list's rows, whatever the order of selecting.
    Strings names;
    for (const VarFileEntry& entry : file.GetEntries())
        names.push_back(entry.name);
    EXPECT_EQ(names, (Strings{"primes", "year", "notes"}));
}

TEST_F(DirListTransfer, DecliningToReplaceKeepsTheFile)
{
    std::ofstream(SystemPath(pc.File("greeting.92s"))) << "mine";
    SelectVariables({"greeting"});
    messages.AnswerYesNo(false);
    logic.OnReceive();
    EXPECT_EQ(messages.GetMessageIds(), std::vector<int>{IDS_OVERWRITE_FILE});
    std::string kept;
    std::ifstream(SystemPath(pc.File("greeting.92s"))) >> kept;
    EXPECT_EQ(kept, "mine");
}

TEST_F(DirListTransfer, TheSelectedFileIsSentToTheCalculator)
{
    SelectVariables({"greeting"});
    logic.OnReceive();
    const SimVariable original = *calc.FindVariable("main", "greeting");
    ASSERT_TRUE(calc.AddVariable("main", "greeting", original.type, 0, {0x00, 0x2D}));

    view.selectedPcFile = CFakeDirListView::RowOf(view.pcFiles, "greeting.92s");
    messages.Clear();
    logic.OnSend();
    EXPECT_EQ(messages.GetMessageIds(), std::vector<int>{IDS_FILE_SENT});
    EXPECT_EQ(calc.FindVariable("main", "greeting")->contents, original.contents);
}

TEST_F(DirListTransfer, NothingSelectedSaysWhatIsMissing)
{
    view.selectedFolder = -1;
    logic.OnReceive();
    logic.OnSend();
    view.selectedFolder = 0;
    logic.OnReceive();
    EXPECT_EQ(messages.GetMessageIds(),
              (std::vector<int>{IDS_NO_FOLDER_SELECTED, IDS_NO_FILE_SELECTED, IDS_NO_VAR_SELECTED}));
}

TEST_F(DirListTransfer, BackupRestoreAndWaitingForTheCalculator)
{
    view.backupFile = pc.File("calc.92b");
    logic.OnBackup();
    EXPECT_EQ(view.pcFiles, Strings{"calc.92b"});

    // A restore asks first, and No leaves the calculator alone; the dialog
    // opens on the backup selected in the PC list.
    const SimVariable original = *calc.FindVariable("main", "greeting");
    ASSERT_TRUE(calc.AddVariable("main", "greeting", original.type, 0, {0x00, 0x2D}));
    view.selectedPcFile = 0;
    logic.OnRestore();
    messages.AnswerYesNo(true);
    logic.OnRestore();
    EXPECT_EQ(calc.FindVariable("main", "greeting")->contents, original.contents);
    EXPECT_EQ(messages.GetMessageIds(),
              (std::vector<int>{IDS_BACKUP_SAVED, IDS_RESTORE_CONFIRM, IDS_RESTORE_CONFIRM, IDS_RESTORE_DONE}));
    EXPECT_EQ(view.backupDialogs, (Strings{"save " + pc.File("backup.92b"), "open " + pc.File("calc.92b"),
                                           "open " + pc.File("calc.92b")}));

    // The wait goes on until Cancel; what came is in the PC list, and a wait
    // ended says nothing.
    struct CancelAtTheSecondWait final : ILinkProgress {
        void ExchangeStarted(int, const std::string&, uint64_t) override { ++started; }
        void BytesMoved(uint64_t) override {}
        bool IsCancelRequested() override { return started >= 2; }
        void ExchangeEnded() override {}
        int started = 0;
    } stop;
    ASSERT_TRUE(calc.SendVariablesFromMenu({"algebra\\poly"}));
    messages.Clear();
    rig.link.SetProgress(&stop);
    logic.OnListen();
    rig.link.SetProgress(nullptr);
    EXPECT_EQ(stop.started, 2);
    EXPECT_EQ(view.pcFiles, (Strings{"calc.92b", "poly.92s"}));
    EXPECT_TRUE(messages.GetShown().empty());
}
