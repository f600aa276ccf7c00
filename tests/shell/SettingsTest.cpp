#include "ShellFixture.h"

#include "shell/HexText.h"
#include "shell/QtSettingsStore.h"
#include "shell/Settings.h"
#include "shell/StringIds.h"

#include <QFile>

namespace {

// The settings class writes the values in the order of their names.
constexpr const char* kDefaults = "[General]\nLanguage=dword:00000001\nPort_LPT=0x378\nTimeout=dword:000003e8\nVersion=1.0\n";

class SettingsTest : public CShellFixture {
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

TEST(HexTextTest, ReadsPortTextsFromTheEnd)
{
    EXPECT_EQ(ParseHexText("0x378"), 0x378u);
    EXPECT_EQ(ParseHexText("0x278"), 0x278u);
    EXPECT_EQ(ParseHexText("0x3 78"), 0x378u);
    EXPECT_EQ(ParseHexText("0x3\t7,8"), 0x378u);
    EXPECT_EQ(ParseHexText("378h  "), 0x378u);
    EXPECT_EQ(ParseHexText("0X3bC"), 0x3BCu);
    // Another character takes a place but adds nothing.
    EXPECT_EQ(ParseHexText("0x3-78"), 0x3078u);
    EXPECT_EQ(ParseHexText("LPT"), 0u);
    EXPECT_EQ(ParseHexText(""), 0u);
    // Places beyond the eighth fall out of 32 bits.
    EXPECT_EQ(ParseHexText("123456789"), 0x23456789u);
    EXPECT_EQ(ParseHexText("fffffffff"), 0xFFFFFFFFu);
}

TEST(SettingsRulesTest, VersionTextTakesFirstAndThirdProductNumbers)
{
    EXPECT_EQ(SettingsVersionText(), "1.0");
}

TEST(SettingsRulesTest, TimeoutMustBeAnIntegerFromOneToTenThousand)
{
    const std::string range = "Please enter an integer between 1 and 10000.";
    const std::string positive = TEXT_ENTER_POSITIVE_INTEGER;
    struct Case {
        const char* text;
        bool valid;
        uint32_t value;
        std::string message;
    };
    const Case cases[] = {
        {"1", true, 1, ""},        {"10000", true, 10000, ""},    {" 2500 ", true, 2500, ""},
        {"0", false, 0, range},     {"10001", false, 0, range},    {"99999999999999999999", false, 0, range},
        {"", false, 0, positive},   {"abc", false, 0, positive},   {"-5", false, 0, positive},
        {"12a", false, 0, positive}, {"1 000", false, 0, positive},
    };
    for (const Case& c : cases) {
        uint32_t value = 7;
        std::string message;
        EXPECT_EQ(ParseTimeoutText(c.text, value, message), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(value, c.value) << c.text;
        } else {
            EXPECT_EQ(message, c.message) << c.text;
        }
    }
}

TEST_F(SettingsTest, FirstRunWritesTheDefaults)
{
    ASSERT_FALSE(SettingsExist());
    const CSettings settings = Load();
    ExpectDefaults(settings);
    EXPECT_EQ(ReadSettings(), kDefaults);
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
