#include "QtProgramFixture.h"

#include "settings/QtSettingsStore.h"
#include "settings/Settings.h"

#include <QFile>

namespace {

// The settings class writes the values in the order of their names; the
// cable only once the user has chosen one.
constexpr const char* DEFAULTS = "[General]\nLanguage=dword:00000001\nPort_LPT=0x378\n"
                                 "Port_Serial=/dev/ttyS0\nTimeout=dword:000003e8\nVersion=1.0\n";

class SettingsTest : public CQtProgramFixture {
protected:
    CSettings Load()
    {
        CSettings settings;
        CQtSettingsStore store;
        settings.LoadFrom(store, m_messages);
        return settings;
    }

    static void ExpectDefaults(const CSettings& settings)
    {
        EXPECT_EQ(settings.m_strPortLpt, "0x378");
        EXPECT_EQ(settings.m_nLanguage, 1);
        EXPECT_EQ(settings.m_uTimeout, 1000u);
    }

    // The stored values read back through a fresh load.
    void ExpectStoredDefaults()
    {
        const std::string text = ReadSettings();
        EXPECT_NE(text.find("Version=1.0\n"), std::string::npos) << text;
        EXPECT_NE(text.find("Port_LPT=0x378\n"), std::string::npos) << text;
        EXPECT_NE(text.find("Language=dword:00000001\n"), std::string::npos) << text;
        EXPECT_NE(text.find("Timeout=dword:000003e8\n"), std::string::npos) << text;
    }
};

TEST_F(SettingsTest, FirstRunWritesTheDefaults)
{
    ASSERT_FALSE(SettingsExist());
    const CSettings settings = Load();
    ExpectDefaults(settings);
    EXPECT_EQ(ReadSettings(), DEFAULTS);
    EXPECT_TRUE(m_messages.GetShown().empty());
    EXPECT_EQ(settings.GetPortBase(), 0x378u);
    EXPECT_EQ(settings.GetTimeout(), 1000u);
}

TEST_F(SettingsTest, StoredValuesAreReadBack)
{
    StoreSettings("0x278", 0, 2500);
    const CSettings settings = Load();
    EXPECT_EQ(settings.m_strPortLpt, "0x278");
    EXPECT_EQ(settings.GetPortBase(), 0x278u);
    EXPECT_EQ(settings.m_nLanguage, 0);
    EXPECT_EQ(settings.m_uTimeout, 2500u);
    EXPECT_TRUE(m_messages.GetShown().empty());
}

TEST_F(SettingsTest, UnusualButReadablePortTextsAreKept)
{
    StoreSettings("0x3 78", 1, 1000);
    EXPECT_EQ(Load().GetPortBase(), 0x378u);
    StoreSettings("LPT", 1, 1000);
    const CSettings noDigit = Load();
    EXPECT_EQ(noDigit.m_strPortLpt, "LPT");
    EXPECT_EQ(noDigit.GetPortBase(), 0u);
    // 19 characters fit the buffer with its terminating zero.
    StoreSettings("0x0000000000000378", 1, 1000);
    EXPECT_EQ(Load().m_strPortLpt, "0x0000000000000378");
}

TEST_F(SettingsTest, AnotherLanguageIndexIsNotCorrectedHere)
{
    StoreSettings("0x378", 2, 1000);
    EXPECT_EQ(Load().m_nLanguage, 2);
}

// Every damaged or foreign store is replaced by the defaults as a whole.
TEST_F(SettingsTest, DamagedStoresAreResetToTheDefaults)
{
    const std::string good = "[General]\nVersion=1.0\nPort_LPT=0x278\nLanguage=dword:00000000\nTimeout=dword:000009c4\n";
    const struct {
        const char* what;
        std::string from;
        std::string to;
    } damages[] = {
        {"the first two product numbers as version", "Version=1.0", "Version=1.2"},
        {"no version", "Version=1.0\n", ""},
        {"version as a number", "Version=1.0", "Version=dword:00000001"},
        {"no port", "Port_LPT=0x278\n", ""},
        {"port of 20 characters", "Port_LPT=0x278", "Port_LPT=0x00000000000000000278"},
        {"port as a list", "Port_LPT=0x278", "Port_LPT=0x2, 78"},
        {"port as a number", "Port_LPT=0x278", "Port_LPT=dword:00000278"},
        {"no language", "Language=dword:00000000\n", ""},
        {"language as text", "Language=dword:00000000", "Language=0"},
        {"no time-out", "Timeout=dword:000009c4\n", ""},
        {"time-out as plain text", "Timeout=dword:000009c4", "Timeout=2500"},
        {"time-out with bad digits", "Timeout=dword:000009c4", "Timeout=dword:0000zzzz"},
        {"time-out too short", "Timeout=dword:000009c4", "Timeout=dword:9c4"},
        {"time-out of 0", "Timeout=dword:000009c4", "Timeout=dword:00000000"},
        {"time-out of 10001", "Timeout=dword:000009c4", "Timeout=dword:00002711"},
        {"garbage", good, "\x01\xff\xfe garbage [[[ =\n=\n"},
    };
    for (const auto& damage : damages) {
        SCOPED_TRACE(damage.what);
        std::string text = good;
        text.replace(text.find(damage.from), damage.from.size(), damage.to);
        WriteSettings(text);
        ExpectDefaults(Load());
        ExpectStoredDefaults();
    }
    EXPECT_TRUE(m_messages.GetShown().empty());
}

// The cable and its serial port came later: a store without them, or with
// an unusable one, keeps everything else and takes the default of that one.
TEST_F(SettingsTest, TheCableAndItsSerialPortFallBackAloneAndNeverResetTheStore)
{
    const std::string before = "[General]\nVersion=1.0\nPort_LPT=0x278\nLanguage=dword:00000000\nTimeout=dword:000009c4\n";
    const struct {
        const char* added;
        CableKind cable;
        const char* serial;
        bool bChosen;
    } cases[] = {
        {"", CableKind::Parallel, "/dev/ttyS0", false},
        {"Cable=dword:00000002\nPort_Serial=/dev/ttyUSB1\n", CableKind::GraySerial, "/dev/ttyUSB1", true},
        {"Cable=dword:00000001\n", CableKind::BlackSerial, "/dev/ttyS0", true},
        {"Cable=dword:00000009\nPort_Serial=/dev/ttyACM0\n", CableKind::Parallel, "/dev/ttyACM0", false},
        {"Cable=2\nPort_Serial=dword:00000001\n", CableKind::Parallel, "/dev/ttyS0", false},
        {"Port_Serial=\n", CableKind::Parallel, "/dev/ttyS0", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.added);
        WriteSettings(before + c.added);
        const CSettings settings = Load();
        EXPECT_EQ(settings.m_strPortLpt, "0x278");
        EXPECT_EQ(settings.m_uTimeout, 2500u);
        EXPECT_EQ(settings.GetCable(), c.cable);
        EXPECT_EQ(settings.GetSerialPort(), c.serial);
        EXPECT_EQ(settings.IsCableChosen(), c.bChosen);
        EXPECT_EQ(ReadSettings(), before + c.added);
        // A cable guessed for a user who chose none stands in for the
        // default, and is written only once it is saved as a choice.
        CSettings guessed = Load();
        guessed.SetUnchosenCable(CableKind::Usb);
        EXPECT_EQ(guessed.GetCable(), c.bChosen ? c.cable : CableKind::Usb);
    }
}

TEST_F(SettingsTest, UnwritableStoreSaysSoAndRunsOnWithTheDefaults)
{
    // The configuration folder lies under a plain file: nothing can be created.
    QFile blocker(QString::fromStdString(ProgramDir() + "/not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_CONFIG_HOME", blocker.fileName().toLocal8Bit() + "/config");
    const CSettings settings = Load();
    ExpectDefaults(settings);
    EXPECT_EQ(m_messages.GetTexts(), std::vector<std::string>{"Errore creazione chiave!"});
}

} // namespace
