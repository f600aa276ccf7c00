// The settings in the Windows registry, against the real registry (Wine's in
// the cross build's runs). The tests use keys of their own beside the
// program's and delete them before and after, so a second run starts alike.

#include "RecordingMessages.h"
#include "settings/Settings.h"
#include "settings/Win32SettingsStore.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace {

const std::string TEST_KEY = "SOFTWARE\\Corvessan\\Vantrel 92 (test)";
// Non-volatile keys cannot be made under a volatile one.
const std::string VOLATILE_KEY = "SOFTWARE\\Corvessan\\Vantrel 92 (test, volatile)";
constexpr DWORD STORED_TIMEOUT = 2500;
constexpr unsigned long long WIDE_TIMEOUT = 2500;

std::wstring Wide(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

// A value as the registry holds it: its type and its bytes.
using RawValue = std::pair<DWORD, std::vector<BYTE>>;

RawValue Raw(DWORD type, const void* data, size_t bytes)
{
    const auto* first = static_cast<const BYTE*>(data);
    return {type, std::vector<BYTE>(first, first + bytes)};
}

RawValue Text(const std::wstring& text, DWORD type = REG_SZ)
{
    return Raw(type, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

RawValue Number(DWORD number)
{
    return Raw(REG_DWORD, &number, sizeof number);
}

void Put(const wchar_t* name, const RawValue& value)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, Wide(TEST_KEY).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, name, 0, value.first, value.second.data(), static_cast<DWORD>(value.second.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

RawValue Get(const wchar_t* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(TEST_KEY).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return {REG_NONE, {}};
    std::vector<BYTE> bytes(64);
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(bytes.size());
    const LONG result = RegQueryValueExW(key, name, nullptr, &type, bytes.data(), &size);
    RegCloseKey(key);
    bytes.resize(result == ERROR_SUCCESS ? size : 0);
    return {result == ERROR_SUCCESS ? type : REG_NONE, bytes};
}

void ExpectSettings(const CSettings& settings, const std::string& port, int32_t language, uint32_t timeout)
{
    EXPECT_EQ(settings.m_strPortLpt, port);
    EXPECT_EQ(settings.m_nLanguage, language);
    EXPECT_EQ(settings.m_uTimeout, timeout);
}

class RegistrySettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteTestKeys(); }
    void TearDown() override { DeleteTestKeys(); }

    static void DeleteTestKeys()
    {
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, Wide(TEST_KEY).c_str());
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, Wide(VOLATILE_KEY).c_str());
    }

    CSettings Load(const std::string& key = TEST_KEY)
    {
        CSettings settings;
        CWin32SettingsStore store(key);
        settings.LoadFrom(store, m_messages);
        return settings;
    }

    // Written as strings with their zero and as four-byte numbers.
    static void ExpectStoredDefaults()
    {
        EXPECT_EQ(Get(L"Version"), Text(L"1.0"));
        EXPECT_EQ(Get(L"Port_LPT"), Text(L"0x378"));
        EXPECT_EQ(Get(L"Language"), Number(1));
        EXPECT_EQ(Get(L"Timeout"), Number(1000));
    }

    CRecordingMessages m_messages;
};

TEST_F(RegistrySettingsStoreTest, TheProgramsKeyIsTheOneInTheLocalMachineHive)
{
    EXPECT_EQ(CWin32SettingsStore().Location(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvessan\\Vantrel 92");
}

TEST_F(RegistrySettingsStoreTest, FirstRunCreatesTheKeyAndSavedValuesAreReadBack)
{
    CSettings settings = Load();
    ExpectSettings(settings, "0x378", 1, 1000);
    ExpectStoredDefaults();

    settings.m_strPortLpt = "0x278";
    settings.m_nLanguage = 0;
    settings.m_uTimeout = STORED_TIMEOUT;
    settings.m_cable = CableKind::GraySerial;
    settings.m_strPortSerial = "COM12";
    CWin32SettingsStore store(TEST_KEY);
    settings.SaveTo(store, m_messages);
    EXPECT_EQ(Get(L"Port_LPT"), Text(L"0x278"));
    EXPECT_EQ(Get(L"Cable"), Number(2));
    EXPECT_EQ(Get(L"Port_Serial"), Text(L"COM12"));
    ExpectSettings(Load(), "0x278", 0, STORED_TIMEOUT);
    EXPECT_EQ(Load().GetSerialPort(), "COM12");
    // A key of the version before the cable choice keeps its values: the
    // cable is the parallel one and the serial port the first.
    DeleteTestKeys();
    Put(L"Version", Text(L"1.0"));
    Put(L"Port_LPT", Text(L"0x278"));
    Put(L"Language", Number(0));
    Put(L"Timeout", Number(STORED_TIMEOUT));
    ExpectSettings(Load(), "0x278", 0, STORED_TIMEOUT);
    EXPECT_EQ(Load().GetCable(), CableKind::Parallel);
    EXPECT_EQ(Load().GetSerialPort(), "COM1");
    EXPECT_TRUE(m_messages.GetShown().empty());
}

// Values another program or a hand edit left: what fits the rules is taken,
// anything else replaces the whole key by the defaults.
TEST_F(RegistrySettingsStoreTest, ValuesOfAnotherTypeOrSizeResetTheKey)
{
    const struct {
        const char* what;
        const wchar_t* name;
        RawValue value;
        const char* port; // nullptr: reset to the defaults
    } cases[] = {
        {"expandable port text", L"Port_LPT", Text(L"0x278", REG_EXPAND_SZ), "0x278"},
        {"port of 19 characters", L"Port_LPT", Text(L"0x00000000000000278"), "0x00000000000000278"},
        {"port of 20 characters", L"Port_LPT", Text(L"0x000000000000000278"), nullptr},
        {"port without its zero", L"Port_LPT", Raw(REG_SZ, L"0x278", 5 * sizeof(wchar_t)), "0x278"},
        {"port filling the buffer without a zero", L"Port_LPT",
         Raw(REG_SZ, L"0x000000000000000278", 20 * sizeof(wchar_t)), nullptr},
        {"port as a number", L"Port_LPT", Number(0x278), nullptr},
        {"first two product numbers", L"Version", Text(L"1.2"), nullptr},
        {"version as a number", L"Version", Number(1), nullptr},
        {"version of 15 characters", L"Version", Text(L"1.0000000000000"), nullptr},
        {"language as text", L"Language", Text(L"0"), nullptr},
        {"time-out as text", L"Timeout", Text(L"2500"), nullptr},
        {"time-out of 64 bits", L"Timeout", Raw(REG_QWORD, &WIDE_TIMEOUT, sizeof WIDE_TIMEOUT), nullptr},
        {"time-out as bytes", L"Timeout", Raw(REG_BINARY, &STORED_TIMEOUT, sizeof STORED_TIMEOUT), nullptr},
        {"time-out of 10001", L"Timeout", Number(10001), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteTestKeys();
        Put(L"Version", Text(L"1.0"));
        Put(L"Port_LPT", Text(L"0x278"));
        Put(L"Language", Number(0));
        Put(L"Timeout", Number(STORED_TIMEOUT));
        Put(c.name, c.value);

        if (c.port) {
            ExpectSettings(Load(), c.port, 0, STORED_TIMEOUT);
        } else {
            ExpectSettings(Load(), "0x378", 1, 1000);
            ExpectStoredDefaults();
        }
    }
    EXPECT_TRUE(m_messages.GetShown().empty());
}

TEST_F(RegistrySettingsStoreTest, AKeyThatCannotBeCreatedSaysSoAndRunsOnWithTheDefaults)
{
    HKEY parent = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, Wide(VOLATILE_KEY).c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &parent, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(parent);

    ExpectSettings(Load(VOLATILE_KEY + "\\Vantrel 92"), "0x378", 1, 1000);
    EXPECT_EQ(m_messages.GetTexts(), std::vector<std::string>{"Errore creazione chiave!"});
}

} // namespace
