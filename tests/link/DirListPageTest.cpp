#include "SimulatedSheetFixture.h"
#include "link/DirList.h"
#include "link/VarTypes.h"
#include "shell/SimulatedCalculator.h"
#include "shell/StringIds.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// The whole program on the simulated calculator, with a little tree in the
// home folder.
class DirListPage : public CSimulatedSheetFixture {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CSimulatedSheetFixture::SetUp());
        fs::create_directories(m_home / "lessons" / "week1");
        std::ofstream(m_home / "lessons" / "x.92e") << "x";
        std::ofstream(m_home / "top.92g") << "g";
    }

    // Builds and shows the sheet on the simulated calculator.
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
    QString PathLabel() { return Page().GetControl<QLabel>("IDC_PC_PATH")->text(); }
    void Click(const char* button) { Page().GetControl<QPushButton>(button)->click(); }

    static QStringList Column(QTreeWidget* list, int column)
    {
        QStringList texts;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            texts << list->topLevelItem(i)->text(column);
        return texts;
    }
    void Activate(const QString& folder)
    {
        const QList<QTreeWidgetItem*> rows = Folders()->findItems(folder, Qt::MatchExactly);
        ASSERT_EQ(rows.size(), 1) << folder.toStdString();
        Folders()->setCurrentItem(rows.front());
        emit Folders()->itemActivated(rows.front(), 0);
    }
    void ChoosePcFolder(const QString& label)
    {
        const QList<QListWidgetItem*> rows = PcFolders()->findItems(label, Qt::MatchExactly);
        ASSERT_EQ(rows.size(), 1) << label.toStdString();
        PcFolders()->setCurrentItem(rows.front());
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(DirListPage, DirectoryButtonAndFolderActivationFillTheListsAndColumns)
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
    QTreeWidgetItem* varHead = Vars()->headerItem();
    ASSERT_EQ(Vars()->columnCount(), 3);
    EXPECT_EQ(varHead->text(0), "Name");
    EXPECT_EQ(varHead->text(1), "Type");
    EXPECT_EQ(varHead->text(2), "Size");
    EXPECT_EQ(Vars()->columnWidth(2), 70);
    EXPECT_TRUE(Qt::Alignment(varHead->textAlignment(1)) & Qt::AlignHCenter);
    EXPECT_TRUE(Qt::Alignment(folderHead->textAlignment(1)) & Qt::AlignLeft);

    // The four-digit folder has no row; the last folder received is on top.
    EXPECT_EQ(Column(Folders(), 0), (QStringList{"algebra", "main"}));
    EXPECT_FALSE(Folders()->topLevelItem(0)->icon(0).isNull());
    EXPECT_EQ(Page().m_folders.size(), 3u);
    EXPECT_TRUE(Vars()->topLevelItemCount() == 0);

    Activate("main");
    // Reverse of arrival order, with type names, sizes and icons.
    EXPECT_EQ(Column(Vars(), 0), (QStringList{"primes", "year", "logo", "notes", "greeting"}));
    EXPECT_EQ(Column(Vars(), 1), (QStringList{"LIST", "EXPR", "PIC", "TEXT", "STR"}));
    const SimVariable* year = Calc().FindVariable("main", "year");
    ASSERT_NE(year, nullptr);
    EXPECT_EQ(Vars()->topLevelItem(1)->text(2), QString::number(year->contents.size() + 2));
    EXPECT_EQ(Vars()->topLevelItem(1)->textAlignment(2) & Qt::AlignHCenter, Qt::AlignHCenter);
    for (int i = 0; i < Vars()->topLevelItemCount(); ++i)
        EXPECT_FALSE(Vars()->topLevelItem(i)->icon(0).isNull());

    // What the receive button reads: the selected folder row and the
    // selected variable rows in list order.
    Vars()->topLevelItem(3)->setSelected(true);
    Vars()->topLevelItem(0)->setSelected(true);
    std::string folder;
    ASSERT_TRUE(Page().GetSelectedFolder(folder));
    EXPECT_EQ(folder, "main");
    EXPECT_EQ(Page().GetSelectedVariableNames(), (std::vector<std::string>{"primes", "notes"}));

    Activate("algebra");
    EXPECT_EQ(Column(Vars(), 0), (QStringList{"answer", "squares", "poly"}));
}

TEST_F(DirListPage, FolderMatchingIsExactAndANewListingReplacesEverything)
{
    OpenSheet();
    ASSERT_TRUE(Calc().AddVariable("Stuff", "big", VAR_STR, 0, {0, 'A', 0, 0x2D}));
    ASSERT_TRUE(Calc().AddVariable("stuff", "small", VAR_STR, 0, {0, 'a', 0, 0x2D}));
    ASSERT_TRUE(Calc().AddVariable("empty", "gone", VAR_STR, 0, {0, 0, 0x2D}));
    Click("IDC_DIRECTORY");
    Activate("stuff");
    EXPECT_EQ(Column(Vars(), 0), (QStringList{"small"}));
    Activate("Stuff");
    EXPECT_EQ(Column(Vars(), 0), (QStringList{"big"}));
    Page().ShowFolderVariables("STUFF");
    EXPECT_EQ(Vars()->topLevelItemCount(), 0);

    // The next listing empties the variable list and shows new contents.
    Activate("stuff");
    ASSERT_TRUE(Calc().AddVariable("stuff", "more", 0x01, 0, {0x05, 0x01, 0x1F}));
    Click("IDC_DIRECTORY");
    EXPECT_EQ(Vars()->topLevelItemCount(), 0);
    EXPECT_EQ(Folders()->findItems("stuff", Qt::MatchExactly).size(), 1);
    Activate("stuff");
    EXPECT_EQ(Column(Vars(), 0), (QStringList{"more", "small"}));
    // A type the table does not know shows its byte and the spare icon.
    EXPECT_EQ(Vars()->topLevelItem(0)->text(1), "0x01");
    EXPECT_EQ(GetTypeIconIndex(0x01), ICON_UNKNOWN_TYPE);
}

TEST_F(DirListPage, FailedListingShowsItsMessageAndKeepsWhatArrived)
{
    OpenSheet();
    // Entry 3 of the sample listing (main, greeting, notes...) arrives with a
    // wrong checksum.
    Calc().Faults().CorruptChecksumAt(3 * 3 + 2);
    Click("IDC_DIRECTORY");
    EXPECT_EQ(m_messages.GetMessageIds(), std::vector<int>{IDS_DIRECTORY_FAILED});
    EXPECT_EQ(Column(Folders(), 0), (QStringList{"main"}));
    Activate("main");
    EXPECT_EQ(Column(Vars(), 0), (QStringList{"greeting"}));
}

TEST_F(DirListPage, WithoutALinkTheButtonsOnlySaySo)
{
    OpenSheet(false);
    EXPECT_FALSE(m_pSheet->HasLink());
    m_messages.Clear();
    Cable().ResetCounts();
    for (const char* button : {"IDC_DIRECTORY", "IDC_RECEIVE", "IDC_SEND"})
        Click(button);
    EXPECT_EQ(m_messages.GetMessageIds(),
              (std::vector<int>{IDS_PORT_NOT_OPENED, IDS_PORT_NOT_OPENED, IDS_PORT_NOT_OPENED}));
    EXPECT_EQ(Cable().GetReadCount() + Cable().GetWriteCount(), 0u);
    EXPECT_EQ(Folders()->topLevelItemCount(), 0);
}

TEST_F(DirListPage, PcSideStartsHomeAndMovesWithTheCurrentDirectory)
{
    OpenSheet();
    EXPECT_EQ(PathLabel().toStdString(), m_home.string());
    EXPECT_EQ(fs::current_path(), m_home);
    const QStringList folders = [&] {
        QStringList labels;
        for (int i = 0; i < PcFolders()->count(); ++i)
            labels << PcFolders()->item(i)->text();
        return labels;
    }();
    EXPECT_TRUE(folders.contains("[lessons]"));
    EXPECT_TRUE(folders.contains("[..]"));
    EXPECT_TRUE(folders.contains("[-/-]"));
    EXPECT_TRUE(folders.contains("[-~-]"));
    ASSERT_EQ(PcFiles()->count(), 1);
    EXPECT_EQ(PcFiles()->item(0)->text(), "top.92g");

    ChoosePcFolder("[lessons]");
    EXPECT_EQ(PathLabel().toStdString(), (m_home / "lessons").string());
    EXPECT_EQ(fs::current_path(), m_home / "lessons");
    EXPECT_EQ(Page().GetPcFolderPath(), (m_home / "lessons").string());
    ASSERT_EQ(PcFiles()->count(), 1);
    PcFiles()->setCurrentRow(0);
    EXPECT_EQ(Page().GetSelectedPcFile(), "x.92e");

    // A file written there shows after a refresh.
    std::ofstream(m_home / "lessons" / "new.92s") << "s";
    Page().RefreshPcFiles();
    EXPECT_EQ(PcFiles()->count(), 2);

    ChoosePcFolder("[..]");
    EXPECT_EQ(PathLabel().toStdString(), m_home.string());
    EXPECT_EQ(fs::current_path(), m_home);

    // A folder that vanished meanwhile cannot be entered: nothing changes.
    ChoosePcFolder("[lessons]");
    fs::remove_all(m_home / "lessons" / "week1");
    ChoosePcFolder("[week1]");
    EXPECT_EQ(fs::current_path(), m_home / "lessons");
    EXPECT_EQ(PathLabel().toStdString(), (m_home / "lessons").string());
}
