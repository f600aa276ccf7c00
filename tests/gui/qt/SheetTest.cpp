#include "QtProgramFixture.h"
#include "SheetHelpers.h"

#include "gui/qt/QtMessageBoxes.h"
#include "resources/ControlIds.h"
#include "language/LanguageLibrary.h"
#include "sim/BuiltInCalculator.h"
#include "text/StringIds.h"

#include <QCoreApplication>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QLibraryInfo>

namespace {

class SheetTest : public CQtProgramFixture {
protected:
    void SetUp() override
    {
        CQtProgramFixture::SetUp();
        Install("English.dll");
        Install("Italiano.dll");
    }

    static std::vector<std::string> TabTexts(const CSheet& sheet)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < sheet.GetTabControl()->count(); ++i)
            texts.push_back(sheet.GetTabControl()->tabText(i).toStdString());
        return texts;
    }
};

TEST_F(SheetTest, TabsAndTheSingleCentredCloseButtonInEitherLanguage)
{
    const struct {
        int nLanguage;
        std::vector<std::string> tabs;
    } languages[] = {
        {1, {"Directory", "Screen", "Configuration", "About"}},
        {0, {"Directory", "Schermo", "Configurazione", "Informazioni"}},
    };
    for (const auto& language : languages) {
        SCOPED_TRACE(language.nLanguage);
        StoreSettings("0x378", language.nLanguage, 1000);
        CSheet sheet;
        PrepareSimulated(sheet);
        Open(sheet);
        sheet.resize(900, 500);
        QApplication::processEvents();
        EXPECT_EQ(sheet.windowTitle().toStdString(), "Vantrel 92");
        EXPECT_FALSE(sheet.windowIcon().isNull());
        EXPECT_EQ(TabTexts(sheet), language.tabs);
        QTabWidget* tabs = sheet.GetTabControl();
        EXPECT_EQ(tabs->widget(0), &sheet.m_pageDirList);
        EXPECT_EQ(tabs->widget(1), &sheet.m_pageGrabScreen);
        EXPECT_EQ(tabs->widget(2), &sheet.m_pageConfig);
        EXPECT_EQ(tabs->widget(3), &sheet.m_pageAbout);
        EXPECT_EQ(tabs->currentIndex(), 0);

        const std::vector<QPushButton*> buttons = SheetButtons(sheet);
        ASSERT_EQ(buttons.size(), 1u);
        EXPECT_EQ(buttons[0]->text().toStdString(), "Chiudi");
        EXPECT_TRUE(buttons[0]->isVisible());
        const int centre = buttons[0]->geometry().center().x();
        EXPECT_NEAR(centre, sheet.width() / 2, 1);
        EXPECT_GT(buttons[0]->geometry().top(), tabs->geometry().bottom());
        sheet.DestroyWindow();
    }
    EXPECT_TRUE(m_messages.GetShown().empty());
}

TEST_F(SheetTest, PagesAreBuiltFromTheLibraryTemplates)
{
    StoreSettings("0x378", 0, 1000);
    CSheet sheet;
    const CQtPropertyPage* pages[] = {&sheet.m_pageDirList, &sheet.m_pageConfig, &sheet.m_pageAbout, &sheet.m_pageGrabScreen};
    for (const CQtPropertyPage* page : pages) {
        ASSERT_TRUE(page->HasControls()) << page->GetTemplateId();
        int found = 0;
        for (const TemplateControl& control : TEMPLATE_CONTROLS) {
            if (control.tmpl != page->GetTemplateId())
                continue;
            QWidget* byName = page->GetDlgItem(control.name);
            ASSERT_NE(byName, nullptr) << control.name;
            EXPECT_EQ(page->GetDlgItem(control.id), byName) << control.name;
            ++found;
        }
        EXPECT_GT(found, 0) << page->GetTemplateId();
    }
}

TEST_F(SheetTest, PortFailureShowsMessage123AndTheSheetStillOpens)
{
    CSheet sheet;
    CLinkApp::PrepareSheet(sheet, CCommandLine{});
    CSimulatedCable cable;
    cable.SetOpenFailure(true);
    sheet.GetLink().SetPortBackend(cable.MakeBackend());
    ASSERT_TRUE(sheet.Create());
    sheet.show();
    EXPECT_EQ(m_messages.GetMessageIds(), std::vector<int>{IDS_PORT_NOT_OPENED});
    EXPECT_EQ(m_messages.GetShown()[0].text, "The simulated cable is unplugged.");
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_FALSE(sheet.HasLink());
    EXPECT_EQ(SheetButtons(sheet).size(), 1u);
    // Every page can still be shown.
    for (QWidget* page : {static_cast<QWidget*>(&sheet.m_pageGrabScreen), static_cast<QWidget*>(&sheet.m_pageConfig),
                          static_cast<QWidget*>(&sheet.m_pageAbout)}) {
        ShowPage(sheet, page);
        EXPECT_TRUE(page->isVisible());
    }
    sheet.DestroyWindow();
}

TEST_F(SheetTest, PortFailureMessageReadsInTheChosenLanguage)
{
    EXPECT_EQ(FormatLanguageMessage(IDS_PORT_NOT_OPENED, "x"), ""); // no library yet
    StoreSettings("0x378", 0, 1000);
    CSheet sheet;
    CSimulatedCable cable;
    cable.SetOpenFailure(true);
    sheet.GetLink().SetPortBackend(cable.MakeBackend());
    ASSERT_TRUE(sheet.Create());
    // The reason comes from the port layer, in the library's language too.
    ASSERT_EQ(m_messages.GetShown().size(), 1u);
    EXPECT_EQ(FormatLanguageMessage(IDS_PORT_NOT_OPENED, m_messages.GetShown()[0].text),
              "Impossibile aprire il driver della porta parallela!\r\nIl cavo simulato \u00e8 scollegato.");
    // The toolkit's standard buttons follow when its translations are installed.
    if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_it.qm"))) {
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&S\u00ec"));
    }
    sheet.DestroyWindow();
}

TEST_F(SheetTest, WithoutALanguageLibraryTheFixedMessageEndsTheProgram)
{
    const struct {
        const char* what;
        bool bEnglish;
        bool bItalian;
        int nLanguage;
    } cases[] = {
        {"no library at all", false, false, 1},
        {"English asked for, only Italian present", false, true, 1},
        {"index 2 with both present", true, true, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(QString::fromStdString(ProgramDir() + "/English.dll"));
        QFile::remove(QString::fromStdString(ProgramDir() + "/Italiano.dll"));
        if (c.bEnglish)
            Install("English.dll");
        if (c.bItalian)
            Install("Italiano.dll");
        StoreSettings("0x378", c.nLanguage, 1000);
        m_messages.Clear();
        {
            CSheet sheet;
            EXPECT_FALSE(sheet.IsLanguageLoaded());
            EXPECT_EQ(sheet.GetPageCount(), 0);
        }
        // The whole start-up: the message, and no window ever shown.
        bool bSawWindow = false;
        OnNextModal([&](QWidget* modal) {
            if (modal) {
                bSawWindow = true;
                modal->close();
            }
        });
        EXPECT_EQ(CLinkApp().InitInstance(CCommandLine{}), 1);
        QApplication::processEvents();
        EXPECT_FALSE(bSawWindow);
        EXPECT_EQ(m_messages.GetTexts(), std::vector<std::string>(2, TEXT_NO_LANGUAGE_LIBRARY));
    }
}

TEST_F(SheetTest, ItalianAskedForButOnlyEnglishPresentStartsInEnglish)
{
    QFile::remove(QString::fromStdString(ProgramDir() + "/Italiano.dll"));
    StoreSettings("0x378", 0, 1000);
    CSheet sheet;
    ASSERT_TRUE(sheet.IsLanguageLoaded());
    EXPECT_EQ(TabTexts(sheet), (std::vector<std::string>{"Directory", "Screen", "Configuration", "About"}));
    EXPECT_TRUE(m_messages.GetShown().empty());
}

TEST_F(SheetTest, DamagedTemplateIsRefusedWithTheLanguageLibraryMessage)
{
    InstallBytes("English.dll", FixtureFile("BrokenTemplate.dll"));
    CSheet sheet;
    EXPECT_FALSE(sheet.IsLanguageLoaded());
    EXPECT_EQ(m_messages.GetTexts(), std::vector<std::string>{TEXT_NO_LANGUAGE_LIBRARY});
}

TEST_F(SheetTest, LibraryWithoutTemplatesGivesEmptyPages)
{
    InstallBytes("English.dll", FixtureFile("LongStrings.dll"));
    CSheet sheet;
    PrepareSimulated(sheet);
    ASSERT_TRUE(sheet.IsLanguageLoaded());
    EXPECT_EQ(sheet.GetPageCount(), 4);
    EXPECT_FALSE(sheet.m_pageConfig.HasControls());
    Open(sheet);
    for (QWidget* page : {static_cast<QWidget*>(&sheet.m_pageGrabScreen), static_cast<QWidget*>(&sheet.m_pageConfig),
                          static_cast<QWidget*>(&sheet.m_pageAbout)})
        ShowPage(sheet, page);
    EXPECT_TRUE(m_messages.GetShown().empty());
    sheet.DestroyWindow();
}

TEST_F(SheetTest, LanguageLibraryIsFreedWithTheSheet)
{
    {
        CSheet sheet;
        EXPECT_NE(g_hLangLibrary, nullptr);
    }
    EXPECT_EQ(g_hLangLibrary, nullptr);
}

// The program's whole run on the simulated calculator: the sheet opens
// modally, the link is up, and "Chiudi" ends the run.
TEST_F(SheetTest, ModalRunEndsWithTheCloseButton)
{
    bool bSawSheet = false;
    bool bHadLink = false;
    OnNextModal(
        [&](QWidget* modal) {
            auto* sheet = qobject_cast<CSheet*>(modal);
            if (sheet == nullptr) {
                if (modal)
                    modal->close();
                return;
            }
            bSawSheet = sheet->isVisible();
            bHadLink = sheet->HasLink() && sheet->GetLink().IsOpen();
            SheetButtons(*sheet).at(0)->click();
        },
        50);
    CCommandLine commandLine;
    commandLine.bSimulate = true;
    EXPECT_EQ(CLinkApp().InitInstance(commandLine), 0);
    EXPECT_TRUE(bSawSheet);
    EXPECT_TRUE(bHadLink);
    EXPECT_TRUE(m_messages.GetShown().empty());
    EXPECT_EQ(g_hLangLibrary, nullptr);
}

} // namespace
