#include "FakeClock.h"
#include "GuiTestSupport.h"
#include "SimulatedSheetFixture.h"
#include "link/DirList.h"
#include "link/VarTypes.h"
#include "shell/SimulatedCalculator.h"
#include "shell/StringIds.h"
#include "transfer/VarFileReader.h"

#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// The program's sheet opened on the simulated calculator with its sample
// content, the home folder as the shown PC folder.
class DirListTransfer : public CSimulatedSheetFixture {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CSimulatedSheetFixture::SetUp());
        ASSERT_NO_FATAL_FAILURE(OpenSheet());
        ASSERT_TRUE(Page().IsInitialised());
    }

    CDirList& Page() { return m_pSheet->m_pageDirList; }
    QTreeWidget* Folders() { return Page().GetControl<QTreeWidget>("IDC_FOLDER_LIST"); }
    QTreeWidget* Vars() { return Page().GetControl<QTreeWidget>("IDC_VAR_LIST"); }
    QListWidget* PcFiles() { return Page().GetControl<QListWidget>("IDC_PC_FILES"); }
    void Click(const char* button) { Page().GetControl<QPushButton>(button)->click(); }

    // Lists the calculator and opens `folder` as the user would.
    void OpenFolder(const QString& folder)
    {
        Click("IDC_DIRECTORY");
        const QList<QTreeWidgetItem*> rows = Folders()->findItems(folder, Qt::MatchExactly);
        ASSERT_EQ(rows.size(), 1);
        Folders()->setCurrentItem(rows.front());
        emit Folders()->itemActivated(rows.front(), 0);
    }
    void SelectVariables(const QStringList& names)
    {
        Vars()->clearSelection();
        for (const QString& name : names) {
            const QList<QTreeWidgetItem*> rows = Vars()->findItems(name, Qt::MatchExactly);
            ASSERT_EQ(rows.size(), 1) << name.toStdString();
            rows.front()->setSelected(true);
        }
    }
    QStringList PcFileNames()
    {
        QStringList names;
        for (int i = 0; i < PcFiles()->count(); ++i)
            names << PcFiles()->item(i)->text();
        return names;
    }
};

} // namespace

TEST_F(DirListTransfer, SelectedVariablesAreReceivedIntoTheShownFolder)
{
    OpenFolder(QStringLiteral("main"));
    SelectVariables({QStringLiteral("greeting")});
    Click("IDC_RECEIVE");
    EXPECT_EQ(m_messages.GetMessageIds(), std::vector<int>{IDS_FILE_RECEIVED});
    EXPECT_TRUE(fs::is_regular_file(m_home / "greeting.92s"));

    m_messages.Clear();
    m_messages.AnswerText(1, "lesson");
    SelectVariables({QStringLiteral("year"), QStringLiteral("notes"), QStringLiteral("primes")});
    Click("IDC_RECEIVE");
    EXPECT_EQ(m_messages.GetMessageIds(), std::vector<int>{IDS_FILES_RECEIVED});

    std::ifstream in(m_home / "lesson.92g", std::ios::binary);
    CVarFileReader file(in);
    ASSERT_EQ(file.Check(), VarFileCheck::Ok);
    // In the order of the list's rows, whatever the order of selecting.
    std::vector<std::string> names;
    for (const VarFileEntry& entry : file.GetEntries())
        names.push_back(entry.name);
    std::vector<std::string> rows;
    for (int i = 0; i < Vars()->topLevelItemCount(); ++i)
        if (Vars()->topLevelItem(i)->isSelected())
            rows.push_back(Vars()->topLevelItem(i)->text(0).toStdString());
    EXPECT_EQ(names, rows);
    EXPECT_EQ(names.size(), 3u);
    // The file list shows what was written.
    EXPECT_TRUE(PcFileNames().contains(QStringLiteral("lesson.92g")));
    EXPECT_TRUE(PcFileNames().contains(QStringLiteral("greeting.92s")));
}

TEST_F(DirListTransfer, DecliningToReplaceKeepsTheFile)
{
    std::ofstream(m_home / "greeting.92s") << "mine";
    OpenFolder(QStringLiteral("main"));
    SelectVariables({QStringLiteral("greeting")});
    m_messages.AnswerYesNo(false);
    Click("IDC_RECEIVE");
    EXPECT_EQ(m_messages.GetMessageIds(), std::vector<int>{IDS_OVERWRITE_FILE});
    std::ifstream in(m_home / "greeting.92s");
    std::string kept;
    in >> kept;
    EXPECT_EQ(kept, "mine");
}

TEST_F(DirListTransfer, TheSelectedFileIsSentToTheCalculator)
{
    OpenFolder(QStringLiteral("main"));
    SelectVariables({QStringLiteral("greeting")});
    Click("IDC_RECEIVE");
    const SimVariable original = *Calc().FindVariable("main", "greeting");
    ASSERT_TRUE(Calc().AddVariable("main", "greeting", original.type, 0, {0x00, 0x2D}));

    const QList<QListWidgetItem*> rows = PcFiles()->findItems(QStringLiteral("greeting.92s"), Qt::MatchExactly);
    ASSERT_EQ(rows.size(), 1);
    PcFiles()->setCurrentItem(rows.front());
    m_messages.Clear();
    Click("IDC_SEND");
    EXPECT_EQ(m_messages.GetMessageIds(), std::vector<int>{IDS_FILE_SENT});
    EXPECT_EQ(Calc().FindVariable("main", "greeting")->contents, original.contents);
}

TEST_F(DirListTransfer, NothingSelectedSaysWhatIsMissing)
{
    Click("IDC_RECEIVE");
    PcFiles()->clearSelection();
    Click("IDC_SEND");
    OpenFolder(QStringLiteral("main"));
    Vars()->clearSelection();
    Click("IDC_RECEIVE");
    EXPECT_EQ(m_messages.GetMessageIds(),
              (std::vector<int>{IDS_NO_FOLDER_SELECTED, IDS_NO_FILE_SELECTED, IDS_NO_VAR_SELECTED}));
}

TEST_F(DirListTransfer, BackupRestoreAndWaitingForTheCalculatorFromThePage)
{
    const std::string backup = (m_home / "calc.92b").string();
    Page().m_chooseBackupFile = [&](bool) { return backup; };
    Click("IDC_BACKUP");
    EXPECT_TRUE(PcFileNames().contains(QStringLiteral("calc.92b")));

    // A restore asks first, and No leaves the calculator alone.
    const SimVariable original = *Calc().FindVariable("main", "greeting");
    ASSERT_TRUE(Calc().AddVariable("main", "greeting", original.type, 0, {0x00, 0x2D}));
    Click("IDC_RESTORE");
    m_messages.AnswerYesNo(true);
    EXPECT_NE(Calc().FindVariable("main", "greeting")->contents, original.contents);
    Click("IDC_RESTORE");
    EXPECT_EQ(Calc().FindVariable("main", "greeting")->contents, original.contents);
    EXPECT_EQ(m_messages.GetMessageIds(), (std::vector<int>{IDS_BACKUP_SAVED, IDS_RESTORE_CONFIRM,
                                                             IDS_RESTORE_CONFIRM, IDS_RESTORE_DONE}));

    // The waiting window stays up until Cancel and says what came last; what
    // came is in the PC list. A wait ended says nothing.
    m_messages.Clear();
    ASSERT_TRUE(Calc().SendVariablesFromMenu({"algebra\\poly"}));
    QString label;
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        if (QProgressDialog* dialog = m_pSheet->GetProgress().GetDialog(); dialog && fs::exists(m_home / "poly.92s")) {
            label = dialog->labelText();
            dialog->cancel();
        }
    });
    cancel.start(5);
    Click("IDC_LISTEN");
    EXPECT_TRUE(label.startsWith(QStringLiteral("Saved poly.92s; "))) << label.toStdString();
    EXPECT_TRUE(PcFileNames().contains(QStringLiteral("poly.92s")));
    EXPECT_TRUE(m_messages.GetShown().empty());
}

TEST_F(DirListTransfer, LongExchangesShowTheirProgressAndCancelLeavesNoFile)
{
    ASSERT_TRUE(Calc().AddVariable("main", "big", VAR_STR, 0, std::vector<uint8_t>(3000, 0x41)));
    // Every reading of the dialog's clock is a millisecond later.
    CFakeClock clock(0, 1);
    m_pSheet->GetProgress().SetClock(clock);
    struct Seen {
        QString label;
        int maximum = -1;
        int value = -1;
        bool modal = false;
    } seen;
    // Runs at the dialog's first turn of the event loop.
    const auto watch = [&](bool cancel) {
        QTimer::singleShot(0, [&, cancel] {
            QProgressDialog* dialog = m_pSheet->GetProgress().GetDialog();
            ASSERT_NE(dialog, nullptr);
            seen = {dialog->labelText(), dialog->maximum(), dialog->value(), dialog->isVisible() && dialog->isModal()};
            if (cancel)
                dialog->findChild<QPushButton*>()->click();
        });
    };

    // The end of a listing is not known: a busy bar and the bytes so far.
    watch(false);
    OpenFolder(QStringLiteral("main"));
    EXPECT_TRUE(seen.label.startsWith(QStringLiteral("Reading the calculator's directory\n"))) << seen.label.toStdString();
    EXPECT_TRUE(seen.label.endsWith(QStringLiteral(" bytes"))) << seen.label.toStdString();
    EXPECT_EQ(seen.maximum, 0);
    EXPECT_TRUE(seen.modal);
    EXPECT_EQ(m_pSheet->GetProgress().GetDialog(), nullptr);
    EXPECT_TRUE(m_messages.GetShown().empty());

    SelectVariables({QStringLiteral("big")});
    watch(true);
    Click("IDC_RECEIVE");
    EXPECT_TRUE(seen.label.startsWith(QStringLiteral("Receiving main\\big\n"))) << seen.label.toStdString();
    EXPECT_TRUE(seen.label.contains(QStringLiteral(" of "))) << seen.label.toStdString();
    EXPECT_EQ(seen.maximum, CLinkProgressDialog::kBarSteps);
    EXPECT_GT(seen.value, 0);
    EXPECT_LT(seen.value, seen.maximum);
    EXPECT_EQ(m_messages.GetMessageIds(), std::vector<int>{IDS_EXCHANGE_CANCELLED});
    EXPECT_TRUE(fs::is_empty(m_home)) << "a file or its temporary was left";
    EXPECT_EQ(Cable().GetDataRegister(), 3);
    EXPECT_EQ(m_pSheet->GetProgress().GetDialog(), nullptr);

    // A backup, whose length shows only at its end.
    Calc().ClearFaults();
    m_messages.Clear();
    Page().m_chooseBackupFile = [&](bool) { return (m_home / "calc.92b").string(); };
    watch(true);
    Click("IDC_BACKUP");
    EXPECT_TRUE(seen.label.startsWith(QStringLiteral("Backing up the calculator into calc.92b\n")))
        << seen.label.toStdString();
    EXPECT_EQ(seen.maximum, 0);
    EXPECT_EQ(m_messages.GetMessageIds(), std::vector<int>{IDS_EXCHANGE_CANCELLED});
    EXPECT_TRUE(fs::is_empty(m_home)) << "a backup or its temporary was left";
    EXPECT_EQ(Cable().GetDataRegister(), 3);
}
