#include "ShellFixture.h"
#include "SheetHelpers.h"

#include "shell/QtSettingsStore.h"
#include "shell/StringIds.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

class ConfigPageTest : public CShellFixture {
protected:
    void SetUp() override
    {
        CShellFixture::SetUp();
        Install("English.dll");
        Install("Italiano.dll");
    }

    // Opens the sheet on the configuration page.
    void OpenOnConfig(CSheet& sheet)
    {
        PrepareSimulated(sheet);
        Open(sheet);
        ShowPage(sheet, &sheet.m_pageConfig);
        m_port = sheet.m_pageConfig.GetControl<QComboBox>("IDC_PORT");
        m_language = sheet.m_pageConfig.GetControl<QComboBox>("IDC_LANGUAGE");
        m_timeout = sheet.m_pageConfig.GetControl<QLineEdit>("IDC_TIMEOUT");
        m_save = sheet.m_pageConfig.GetControl<QPushButton>("IDC_SAVE_SETTINGS");
        ASSERT_TRUE(m_port && m_language && m_timeout && m_save);
    }

    QComboBox* m_port = nullptr;
    QComboBox* m_language = nullptr;
    QLineEdit* m_timeout = nullptr;
    QPushButton* m_save = nullptr;
};

TEST_F(ConfigPageTest, FirstRunShowsTheDefaults)
{
    ASSERT_FALSE(SettingsExist());
    CSheet sheet;
    EXPECT_TRUE(SettingsExist()); // written while the sheet was built
    OpenOnConfig(sheet);
    EXPECT_EQ(m_port->currentText().toStdString(), "0x378");
    EXPECT_EQ(m_port->count(), 2);
    EXPECT_EQ(m_port->itemText(0).toStdString(), "0x278");
    EXPECT_EQ(m_port->itemText(1).toStdString(), "0x378");
    EXPECT_EQ(m_language->currentText().toStdString(), "English");
    EXPECT_EQ(m_language->count(), 2);
    EXPECT_EQ(m_language->itemText(0).toStdString(), "Italiano");
    EXPECT_EQ(m_timeout->text().toStdString(), "1000");
    EXPECT_TRUE(m_messages.GetShown().empty());
}

TEST_F(ConfigPageTest, PageShowsWhatIsStoredWhenFirstShown)
{
    CSheet sheet;
    // Stored after start-up but before the page was first shown.
    StoreSettings("0x3 78", 0, 2500);
    OpenOnConfig(sheet);
    EXPECT_EQ(m_port->currentText().toStdString(), "0x3 78");
    EXPECT_EQ(m_language->currentText().toStdString(), "Italiano");
    EXPECT_EQ(m_timeout->text().toStdString(), "2500");
}

TEST_F(ConfigPageTest, SavingChecksTheTimeOutFirst)
{
    CSheet sheet;
    OpenOnConfig(sheet);
    const std::string stored = ReadSettings();
    const std::string range = "Please enter an integer between 1 and 10000.";
    const struct {
        const char* text;
        std::string message;
    } refused[] = {{"0", range}, {"10001", range}, {"", TEXT_ENTER_POSITIVE_INTEGER}, {"ten", TEXT_ENTER_POSITIVE_INTEGER}};
    m_port->setCurrentIndex(0);
    for (const auto& r : refused) {
        m_messages.Clear();
        m_timeout->setText(QString::fromLatin1(r.text));
        m_save->click();
        EXPECT_EQ(m_messages.GetTexts(), std::vector<std::string>{r.message}) << r.text;
        EXPECT_EQ(ReadSettings(), stored) << r.text;
    }
    m_messages.Clear();
    for (const auto& [text, stored] : {std::pair{"1", "dword:00000001"}, std::pair{"10000", "dword:00002710"}}) {
        m_timeout->setText(QString::fromLatin1(text));
        m_language->setCurrentIndex(0);
        m_save->click();
        const std::string now = ReadSettings();
        EXPECT_NE(now.find(std::string("Timeout=") + stored), std::string::npos) << now;
        EXPECT_NE(now.find("Port_LPT=0x278"), std::string::npos) << now;
        EXPECT_NE(now.find("Language=dword:00000000"), std::string::npos) << now;
    }
    EXPECT_TRUE(m_messages.GetShown().empty());
}

TEST_F(ConfigPageTest, OnlyTheSaveButtonWrites)
{
    StoreSettings("0x378", 1, 1000);
    const std::string before = ReadSettings();
    {
        CSheet sheet;
        OpenOnConfig(sheet);
        m_port->setCurrentIndex(0);
        m_language->setCurrentIndex(0);
        m_timeout->setText(QStringLiteral("42"));
        ShowPage(sheet, &sheet.m_pageAbout);
        ShowPage(sheet, &sheet.m_pageConfig);
        sheet.DestroyWindow();
    }
    EXPECT_EQ(ReadSettings(), before);
}

TEST_F(ConfigPageTest, ATypedPortTextIsSavedAsTyped)
{
    CSheet sheet;
    OpenOnConfig(sheet);
    m_port->setEditText(QStringLiteral("0x3BC"));
    m_save->click();
    CSettings reread;
    CQtSettingsStore store;
    reread.LoadFrom(store, m_messages);
    EXPECT_EQ(reread.m_strPortLpt, "0x3BC");
    EXPECT_EQ(reread.GetPortBase(), 0x3BCu);
    // Longer than the store reads back is not accepted by the field.
    m_port->setEditText(QString(30, QLatin1Char('3')));
    EXPECT_EQ(m_port->currentText().size(), 19);
}

TEST_F(ConfigPageTest, SavingWithoutRightsSaysSo)
{
    CSheet sheet;
    OpenOnConfig(sheet);
    QFile blocker(QString::fromStdString(ProgramDir() + "/not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_CONFIG_HOME", blocker.fileName().toLocal8Bit());
    m_save->click();
    EXPECT_EQ(m_messages.GetTexts(), std::vector<std::string>{TEXT_KEY_CREATION_FAILED});
}

} // namespace
