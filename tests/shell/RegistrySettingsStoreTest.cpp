// The settings in the Windows registry, against the real registry (Wine's in
// the cross build's runs). The tests use keys of their own beside the
// program's and delete them before and after, so a second run starts alike.

#include "RecordingMessages.h"
#include "shell/RegistrySettingsStore.h"
#include "shell/Settings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

const std::wstring kTestKey = L"SOFTWARE\\Corvessan\\Vantrel 92 (test)";
// Non-volatile keys cannot be made under a volatile one.
const std::wstring kVolatileKey = L"SOFTWARE\\Corvessan\\Vantrel 92 (test, volatile)";
constexpr DWORD kStoredTimeout = 2500;
constexpr unsigned long long kWideTimeout = 2500;

std::string Utf8(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

class RegistrySettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteTestKeys(); }
    void TearDown() override { DeleteTestKeys(); }

    static void DeleteTestKeys()
    {
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kTestKey.c_str());
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kVolatileKey.c_str());
    }

    CSettings Load(const std::wstring& key = kTestKey)
    {
        CSettings settings;
        CRegistrySettingsStore store(Utf8(key));
        settings.LoadFrom(store, m_messages);
        return settings;
    }

    // A value exactly as another program could have left it.
    static void Put(const wchar_t* name, DWORD type, const void* data, DWORD bytes)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTestKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    static void PutText(const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ)
    {
        Put(name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    static void PutNumber(const wchar_t* name, DWORD number) { Put(name, REG_DWORD, &number, sizeof number); }

    static void Remove(const wchar_t* name)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTestKey.c_str(), 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
        EXPECT_EQ(RegDeleteValueW(key, name), ERROR_SUCCESS);
        RegCloseKey(key);
    }

    // What the key holds: type and raw bytes of a value.
    static std::pair<DWORD, std::vector<BYTE>> Get(const wchar_t* name)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTestKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return {REG_NONE, {}};
        std::vector<BYTE> bytes(64);
        DWORD type = REG_NONE;
        DWORD size = static_cast<DWORD>(bytes.size());
        const LONG result = RegQueryValueExW(key, name, nullptr, &type, bytes.data(), &size);
        RegCloseKey(key);
        if (result != ERROR_SUCCESS)
            return {REG_NONE, {}};
        bytes.resize(size);
        return {type, bytes};
    }
    static std::pair<DWORD, std::vector<BYTE>> TextValue(const std::wstring& text)
    {
        const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
        return {REG_SZ, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t))};
    }
    static std::pair<DWORD, std::vector<BYTE>> NumberValue(DWORD number)
    {
        const auto* bytes = reinterpret_cast<const BYTE*>(&number);
        return {REG_DWORD, std::vector<BYTE>(bytes, bytes + sizeof number)};
    }

    void ExpectStoredDefaults()
    {
        EXPECT_EQ(Get(L"Version"), TextValue(L"1.0"));
        EXPECT_EQ(Get(L"Port_LPT"), TextValue(L"0x378"));
        EXPECT_EQ(Get(L"Language"), NumberValue(1));
        EXPECT_EQ(Get(L"Timeout"), NumberValue(1000));
    }

    CRecordingMessages m_messages;
};

TEST_F(RegistrySettingsStoreTest, TheProgramsKeyIsTheOneInTheLocalMachineHive)
{
    EXPECT_EQ(CRegistrySettingsStore().Location(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvessan\\Vantrel 92");
}

TEST_F(RegistrySettingsStoreTest, FirstRunCreatesTheKeyAndSavedValuesAreReadBack)
{
    const CSettings first = Load();
    EXPECT_EQ(first.m_strPortLpt, "0x378");
    EXPECT_EQ(first.m_nLanguage, 1);
    EXPECT_EQ(first.m_uTimeout, 1000u);
    ExpectStoredDefaults();

    CSettings changed = first;
    changed.m_strPortLpt = "0x278";
    changed.m_nLanguage = 0;
    changed.m_uTimeout = 2500;
    CRegistrySettingsStore store(Utf8(kTestKey));
    changed.SaveTo(store, m_messages);
    EXPECT_EQ(Get(L"Port_LPT"), TextValue(L"0x278"));

    const CSettings again = Load();
    EXPECT_EQ(again.GetPortBase(), 0x278u);
    EXPECT_EQ(again.m_nLanguage, 0);
    EXPECT_EQ(again.m_uTimeout, 2500u);
    EXPECT_TRUE(m_messages.GetShown().empty());
}

// Values another program or a hand edit left: what fits the rules is taken,
// anything else replaces the whole key by the defaults.
TEST_F(RegistrySettingsStoreTest, ValuesOfAnotherTypeOrSizeResetTheKey)
{
    const struct {
        const char* what;
        void (*damage)();
        const char* port; // nullptr: reset to the defaults
    } cases[] = {
        {"good", [] {}, "0x278"},
        {"expandable port text", [] { PutText(L"Port_LPT", L"0x278", REG_EXPAND_SZ); }, "0x278"},
        {"port of 19 characters", [] { PutText(L"Port_LPT", L"0x00000000000000278"); }, "0x00000000000000278"},
        {"port of 20 characters", [] { PutText(L"Port_LPT", L"0x000000000000000278"); }, nullptr},
        {"port without its zero", [] { Put(L"Port_LPT", REG_SZ, L"0x278", 5 * sizeof(wchar_t)); }, "0x278"},
        {"port filling the buffer without a zero",
         [] { Put(L"Port_LPT", REG_SZ, L"0x000000000000000278", 20 * sizeof(wchar_t)); }, nullptr},
        {"port as a number", [] { PutNumber(L"Port_LPT", 0x278); }, nullptr},
        {"first two product numbers", [] { PutText(L"Version", L"1.2"); }, nullptr},
        {"version as a number", [] { PutNumber(L"Version", 1); }, nullptr},
        {"version of 15 characters", [] { PutText(L"Version", L"1.0000000000000"); }, nullptr},
        {"language as text", [] { PutText(L"Language", L"0"); }, nullptr},
        {"time-out as text", [] { PutText(L"Timeout", L"2500"); }, nullptr},
        {"time-out of 64 bits", [] { Put(L"Timeout", REG_QWORD, &kWideTimeout, sizeof kWideTimeout); }, nullptr},
        {"time-out as bytes", [] { Put(L"Timeout", REG_BINARY, &kStoredTimeout, sizeof kStoredTimeout); }, nullptr},
        {"time-out of 10001", [] { PutNumber(L"Timeout", 10001); }, nullptr},
        {"no time-out", [] { Remove(L"Timeout"); }, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteTestKeys();
        PutText(L"Version", L"1.0");
        PutText(L"Port_LPT", L"0x278");
        PutNumber(L"Language", 0);
        PutNumber(L"Timeout", kStoredTimeout);
        c.damage();

        const CSettings settings = Load();
        if (c.port) {
            EXPECT_EQ(settings.m_strPortLpt, c.port);
            EXPECT_EQ(settings.m_nLanguage, 0);
            EXPECT_EQ(settings.m_uTimeout, kStoredTimeout);
        } else {
            EXPECT_EQ(settings.m_strPortLpt, "0x378");
            EXPECT_EQ(settings.m_nLanguage, 1);
            EXPECT_EQ(settings.m_uTimeout, 1000u);
            ExpectStoredDefaults();
        }
    }
    EXPECT_TRUE(m_messages.GetShown().empty());
}

TEST_F(RegistrySettingsStoreTest, AKeyThatCannotBeCreatedSaysSoAndRunsOnWithTheDefaults)
{
    HKEY parent = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kVolatileKey.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &parent, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(parent);

    const CSettings settings = Load(kVolatileKey + L"\\Vantrel 92");
    EXPECT_EQ(settings.m_strPortLpt, "0x378");
    EXPECT_EQ(settings.m_nLanguage, 1);
    EXPECT_EQ(settings.m_uTimeout, 1000u);
    EXPECT_EQ(m_messages.GetTexts(), std::vector<std::string>{"Errore creazione chiave!"});
}

} // namespace
