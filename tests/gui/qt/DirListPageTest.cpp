#include "FakeClock.h"
#include "gui/qt/DirList.h"
#include "gui/qt/QtEndSignals.h"
#include "link/VarTypes.h"
#include "settings/QtSettingsStore.h"
#include "sim/BuiltInCalculator.h"
#include "SignallingPeer.h"
#include "SimulatedSheetFixture.h"
#include "text/StringIds.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// The window of the directory page on the whole program and the simulated
// calculator, with a little tree in the home folder: what the logic says
// appears in the widgets, and the widgets' actions reach the logic.
class DirListPage : public CSimulatedSheetFixture {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CSimulatedSheetFixture::SetUp());
        fs::create_directories(m_home / "lessons");
        std::ofstream(m_home / "lessons" / "x.92e") << "x";
        std::ofstream(m_home / "top.92g") << "g";
    }

    void OpenSheet(bool portOpens = true)
    {
        ASSERT_NO_FATAL_FAILURE(CSimulatedSheetFixture::OpenSheet(portOpens));
        ASSERT_TRUE(Page().IsInitialised());
    }

    CDirList& Page() { return m_pSheet->m_pageDirList; }
    QTreeWidget* Folders() { return Page().GetControl<QTreeWidget>("IDC_FOLDER_LIST"); }
    QTreeWidget* Vars() { return Page().GetControl<QTreeWidget>("IDC_VAR_LIST"); }
    QListWidget* PcFolders() { return Page().GetControl<QListWidget>("IDC_PC_FOLDERS"); }
    QListWidget* PcFiles() { return Page().GetControl<QListWidget>("IDC_PC_FILES"); }
    void Click(const char* button) { Page().GetControl<QPushButton>(button)->click(); }

    static QStringList Column(QTreeWidget* list, int column)
    {
        QStringList texts;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            texts << list->topLevelItem(i)->text(column);
        return texts;
    }
    static QStringList Texts(QListWidget* list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }
    QTreeWidgetItem* FolderRow(const QString& folder)
    {
        const QList<QTreeWidgetItem*> rows = Folders()->findItems(folder, Qt::MatchExactly);
        return rows.size() == 1 ? rows.front() : nullptr;
    }
    // As a double click opens it.
    void Activate(const QString& folder)
    {
        QTreeWidgetItem* row = FolderRow(folder);
        ASSERT_NE(row, nullptr) << folder.toStdString();
        Folders()->setCurrentItem(row);
        emit Folders()->itemActivated(row, 0);
    }
    void Choose(QListWidget* list, const QString& label)
    {
        const QList<QListWidgetItem*> rows = list->findItems(label, Qt::MatchExactly);
        ASSERT_EQ(rows.size(), 1) << label.toStdString();
        list->setCurrentItem(rows.front());
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(DirListPage, TheListsShowTheListingInTheirColumns)
{
    OpenSheet();
    Click("IDC_DIRECTORY");
    EXPECT_TRUE(m_messages.GetShown().empty());

    // Headings, widths and alignments of both lists.
    QTreeWidgetItem* folderHead = Folders()->headerItem();
    ASSERT_EQ(Folders()->columnCount(), 2);
    EXPECT_EQ(folderHead->text(0), "Folder");
    EXPECT_EQ(folderHead->text(1), "Size");
    EXPECT_EQ(Folders()->columnWidth(0), 100);
    EXPECT_EQ(Folders()->columnWidth(1), 70);
    QTreeWidgetItem* varHead = Vars()->headerItem();
    ASSERT_EQ(Vars()->columnCount(), 3);
    EXPECT_EQ(varHead->text(0), "Name");
    EXPECT_EQ(varHead->text(1), "Type");
    EXPECT_EQ(varHead->text(2), "Size");
    EXPECT_EQ(Vars()->columnWidth(2), 70);
    EXPECT_TRUE(Qt::Alignment(varHead->textAlignment(1)) & Qt::AlignHCenter);
    EXPECT_TRUE(Qt::Alignment(folderHead->textAlignment(1)) & Qt::AlignLeft);

    EXPECT_EQ(Column(Folders(), 0), (QStringList{"algebra", "main"}));
    EXPECT_FALSE(Folders()->topLevelItem(0)->icon(0).isNull());
    Activate("main");
    EXPECT_EQ(Column(Vars(), 0), (QStringList{"primes", "year", "logo", "notes", "greeting"}));
    EXPECT_EQ(Column(Vars(), 1), (QStringList{"LIST", "EXPR", "PIC", "TEXT", "STR"}));
    const SimVariable* year = Calc().FindVariable("main", "year");
    ASSERT_NE(year, nullptr);
    EXPECT_EQ(Vars()->topLevelItem(1)->text(2), QString::number(year->contents.size() + 2));
    EXPECT_EQ(Vars()->topLevelItem(1)->textAlignment(2) & Qt::AlignHCenter, Qt::AlignHCenter);
    for (int i = 0; i < Vars()->topLevelItemCount(); ++i)
        EXPECT_FALSE(Vars()->topLevelItem(i)->icon(0).isNull());

    // The rows the user selects are the ones the logic takes.
    Vars()->topLevelItem(3)->setSelected(true);
    Vars()->topLevelItem(0)->setSelected(true);
    std::string folder;
    ASSERT_TRUE(Page().Logic().GetSelectedFolder(folder));
    EXPECT_EQ(folder, "main");
    EXPECT_EQ(Page().Logic().GetSelectedVariableNames(), (std::vector<std::string>{"primes", "notes"}));
}

TEST_F(DirListPage, ItalianHeadingsAreNotClipped)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(VANTREL_BIN_DIR "/Italiano.dll"),
                            ProgramFilePath(QStringLiteral("Italiano.dll"))));
    CSettings italian;
    italian.SetDefaultSettings();
    italian.m_nLanguage = 0;
    CQtSettingsStore store;
    italian.SaveTo(store, m_messages);
    OpenSheet();

    for (QTreeWidget* list : {Folders(), Vars()}) {
        QHeaderView* header = list->header();
        const int margins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        for (int col = 0; col < list->columnCount(); ++col) {
            const QString heading = list->headerItem()->text(col);
            EXPECT_GE(list->columnWidth(col), header->fontMetrics().horizontalAdvance(heading) + margins)
                << heading.toStdString();
            EXPECT_GE(list->columnWidth(col), 70) << heading.toStdString();
        }
    }
    EXPECT_EQ(Folders()->headerItem()->text(1), "Dimensione");
    EXPECT_GE(Folders()->columnWidth(0), 100);
}

TEST_F(DirListPage, EnterInAListDoesTheListsOwnActionAndKeepsTheProgramOpen)
{
    OpenSheet();
    Click("IDC_DIRECTORY");
    Folders()->setFocus();
    Folders()->setCurrentItem(FolderRow("algebra"));
    QTest::keyClick(Folders(), Qt::Key_Return);
    EXPECT_EQ(Column(Vars(), 0), (QStringList{"answer", "squares", "poly"}));

    Vars()->setCurrentItem(Vars()->topLevelItem(0));
    QTest::keyClick(Vars(), Qt::Key_Enter);
    PcFiles()->setCurrentRow(0);
    QTest::keyClick(PcFiles(), Qt::Key_Return);
    Choose(PcFolders(), "[lessons]");
    QTest::keyClick(PcFolders(), Qt::Key_Return);
    EXPECT_EQ(Page().Logic().GetPcFolderPath(), (m_home / "lessons").string());

    EXPECT_TRUE(m_pSheet->isVisible());
    EXPECT_NE(m_pSheet->result(), QDialog::Accepted);
    EXPECT_TRUE(m_messages.GetShown().empty());
}

TEST_F(DirListPage, PcSideFillsItsWidgetsAndFollowsTheSelection)
{
    OpenSheet();
    EXPECT_EQ(Page().GetControl<QLabel>("IDC_PC_PATH")->text().toStdString(), m_home.string());
    EXPECT_TRUE(Texts(PcFolders()).contains("[lessons]"));
    EXPECT_TRUE(Texts(PcFolders()).contains("[..]"));
    EXPECT_EQ(Texts(PcFiles()), QStringList{"top.92g"});

    Choose(PcFolders(), "[lessons]");
    EXPECT_EQ(Page().GetControl<QLabel>("IDC_PC_PATH")->text().toStdString(), (m_home / "lessons").string());
    EXPECT_EQ(fs::current_path(), m_home / "lessons");
    PcFiles()->setCurrentRow(0);
    EXPECT_EQ(Page().Logic().GetSelectedPcFile(), "x.92e");
}

TEST_F(DirListPage, TheButtonsReachTheTransfers)
{
    OpenSheet();
    Click("IDC_DIRECTORY");
    Activate("main");
    Vars()->findItems(QStringLiteral("greeting"), Qt::MatchExactly).front()->setSelected(true);
    Click("IDC_RECEIVE");
    EXPECT_EQ(m_messages.GetMessageIds(), std::vector<int>{IDS_FILE_RECEIVED});
    EXPECT_TRUE(Texts(PcFiles()).contains("greeting.92s"));

    const SimVariable original = *Calc().FindVariable("main", "greeting");
    ASSERT_TRUE(Calc().AddVariable("main", "greeting", original.type, 0, {0x00, 0x2D}));
    Choose(PcFiles(), "greeting.92s");
    m_messages.Clear();
    Click("IDC_SEND");
    EXPECT_EQ(m_messages.GetMessageIds(), std::vector<int>{IDS_FILE_SENT});
    EXPECT_EQ(Calc().FindVariable("main", "greeting")->contents, original.contents);
}

TEST_F(DirListPage, LongExchangesShowTheirProgressAndCancelLeavesNoFile)
{
    OpenSheet();
    ASSERT_TRUE(Calc().AddVariable("main", "big", VAR_STR, 0, std::vector<uint8_t>(3000, 0x41)));
    // Every reading of the progress clock is a millisecond later.
    CFakeClock clock(0, 1);
    m_pSheet->GetProgress().Logic().SetClock(clock);
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

    // The end of a listing is not known: a busy bar (its texts and timing
    // are the progress logic's, tested with it).
    watch(false);
    Click("IDC_DIRECTORY");
    EXPECT_EQ(seen.maximum, 0);
    EXPECT_TRUE(seen.modal);
    EXPECT_EQ(m_pSheet->GetProgress().GetDialog(), nullptr);
    EXPECT_TRUE(m_messages.GetShown().empty());

    Activate("main");
    Vars()->findItems(QStringLiteral("big"), Qt::MatchExactly).front()->setSelected(true);
    watch(true);
    Click("IDC_RECEIVE");
    EXPECT_TRUE(seen.label.startsWith(QStringLiteral("Receiving main\\big\n"))) << seen.label.toStdString();
    EXPECT_EQ(seen.maximum, IProgressView::BAR_STEPS);
    EXPECT_GT(seen.value, 0);
    EXPECT_LT(seen.value, seen.maximum);
    EXPECT_EQ(m_messages.GetMessageIds(), std::vector<int>{IDS_EXCHANGE_CANCELLED});
    // Neither the file nor its temporary: only the test's own two entries.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_home), fs::directory_iterator()), 2);
    EXPECT_EQ(Cable().GetDataRegister(), 3);
    EXPECT_EQ(m_pSheet->GetProgress().GetDialog(), nullptr);
}

TEST_F(DirListPage, TheBackupButtonsWorkThroughTheirWaitWindow)
{
    OpenSheet();
    Page().m_chooseBackupFile = [&](bool) { return (m_home / "calc.92b").string(); };
    Click("IDC_BACKUP");
    EXPECT_EQ(m_messages.GetMessageIds(), std::vector<int>{IDS_BACKUP_SAVED});
    EXPECT_TRUE(Texts(PcFiles()).contains("calc.92b"));

    // The progress window stays up, serving its events, until Cancel.
    ASSERT_TRUE(Calc().SendVariablesFromMenu({"algebra\\poly"}));
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        if (!fs::exists(m_home / "poly.92s"))
            return;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QProgressDialog*>(widget); dialog && dialog->isVisible())
                dialog->cancel();
    });
    cancel.start(5);
    Click("IDC_LISTEN");
    EXPECT_TRUE(Texts(PcFiles()).contains("poly.92s"));
}

TEST_F(DirListPage, WithoutALinkTheButtonsOnlySaySo)
{
    OpenSheet(false);
    m_messages.Clear();
    Cable().ResetCounts();
    const char* const buttons[] = {"IDC_DIRECTORY", "IDC_RECEIVE", "IDC_SEND", "IDC_BACKUP", "IDC_RESTORE", "IDC_LISTEN"};
    for (const char* button : buttons)
        Click(button);
    EXPECT_EQ(m_messages.GetMessageIds(), std::vector<int>(std::size(buttons), IDS_PORT_NOT_OPENED));
    EXPECT_EQ(Cable().GetReadCount() + Cable().GetWriteCount(), 0u);
}

TEST_F(DirListPage, ASignalDuringAReceiveStopsItLeavesNoFileAndClosesTheWindow)
{
    OpenSheet();
    ASSERT_TRUE(Calc().AddVariable("main", "big", VAR_STR, 0, std::vector<uint8_t>(3000, 0x41)));
    Click("IDC_DIRECTORY");
    Activate("main");
    Vars()->findItems(QStringLiteral("big"), Qt::MatchExactly).front()->setSelected(true);
    m_messages.Clear();
    {
        CQtEndSignals endSignals(*m_pSheet);
        CSignallingPeer peer(Calc(), 1000, SIGTERM);
        Cable().SetPeer(&peer);
        Click("IDC_RECEIVE");
        QApplication::processEvents();
        Cable().SetPeer(&Calc());
    }
    // Neither the file nor its temporary: only the test's own two entries.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_home), fs::directory_iterator()), 2);
    EXPECT_FALSE(m_pSheet->isVisible());
    EXPECT_EQ(Cable().GetDataRegister(), 3);
    // What the program was about to say is not left for a user who has gone.
    EXPECT_TRUE(m_messages.GetShown().empty());
    // The signal is the system's again.
    struct sigaction action = {};
    sigaction(SIGTERM, nullptr, &action);
    EXPECT_EQ(action.sa_handler, SIG_DFL);
}
