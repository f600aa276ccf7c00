#include "QtProgramFixture.h"
#include "SheetHelpers.h"

#include "text/StringIds.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

class ConfigPageTest : public CQtProgramFixture {
protected:
    void SetUp() override
    {
        CQtProgramFixture::SetUp();
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

TEST_F(ConfigPageTest, TheSaveButtonStoresWhatTheControlsHoldOnceTheTimeOutIsChecked)
{
    CSheet sheet;
    OpenOnConfig(sheet);
    const std::string stored = ReadSettings();
    m_timeout->setText(QStringLiteral("0"));
    m_save->click();
    EXPECT_EQ(m_messages.GetTexts(), std::vector<std::string>{"Please enter an integer between 1 and 10000."});
    EXPECT_EQ(ReadSettings(), stored);
    EXPECT_EQ(m_timeout->selectedText(), "0");

    m_messages.Clear();
    m_port->setEditText(QStringLiteral("0x3BC"));
    m_language->setCurrentIndex(0);
    m_timeout->setText(QStringLiteral("10000"));
    m_save->click();
    const std::string now = ReadSettings();
    EXPECT_NE(now.find("Port_LPT=0x3BC"), std::string::npos) << now;
    EXPECT_NE(now.find("Language=dword:00000000"), std::string::npos) << now;
    EXPECT_NE(now.find("Timeout=dword:00002710"), std::string::npos) << now;
    EXPECT_TRUE(m_messages.GetShown().empty());
    // Longer than the store reads back is not accepted by the field.
    m_port->setEditText(QString(30, QLatin1Char('3')));
    EXPECT_EQ(m_port->currentText().size(), 19);

    // A serial cable shows the serial port box in the parallel one's place.
    auto* cable = sheet.m_pageConfig.GetControl<QComboBox>("IDC_CABLE");
    auto* serial = sheet.m_pageConfig.GetControl<QComboBox>("IDC_SERIAL_PORT");
    ASSERT_TRUE(cable && serial);
    EXPECT_EQ(cable->itemText(2).toStdString(), "Gray serial cable");
    EXPECT_TRUE(serial->isHidden());
    cable->setCurrentIndex(2);
    EXPECT_FALSE(serial->isHidden());
    EXPECT_TRUE(m_port->isHidden());
    serial->setEditText(QStringLiteral("/dev/ttyUSB3"));
    m_port->setEditText(QStringLiteral("0x378"));
    m_save->click();
    const std::string serialStored = ReadSettings();
    EXPECT_NE(serialStored.find("Cable=dword:00000002"), std::string::npos) << serialStored;
    EXPECT_NE(serialStored.find("Port_Serial=/dev/ttyUSB3"), std::string::npos) << serialStored;
    cable->setCurrentIndex(0);
    EXPECT_TRUE(serial->isHidden());
}

} // namespace
