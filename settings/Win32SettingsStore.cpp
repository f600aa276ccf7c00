#include "settings/Win32SettingsStore.h"

#include "text/Utf16Text.h"

#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Read, set value and create subkey: what loading and saving need, and no more.
constexpr REGSAM KEY_ACCESS = 0x2001F;

} // namespace

CWin32SettingsStore::CWin32SettingsStore(std::string subKey) : m_strSubKey(std::move(subKey)) {}

CWin32SettingsStore::~CWin32SettingsStore()
{
    CloseKey();
}

std::string CWin32SettingsStore::Location() const
{
    return "HKEY_LOCAL_MACHINE\\" + m_strSubKey;
}

bool CWin32SettingsStore::OpenForRead()
{
    CloseKey();
    m_bWriting = false;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Utf8ToWide(m_strSubKey).c_str(), 0, KEY_ACCESS, &key) != ERROR_SUCCESS)
        return false;
    m_hKey = key;
    return true;
}

bool CWin32SettingsStore::OpenForWrite()
{
    CloseKey();
    m_bWriting = true;
    m_bWriteFailed = false;
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, Utf8ToWide(m_strSubKey).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return false;
    m_hKey = key;
    return true;
}

bool CWin32SettingsStore::ReadString(const char* name, size_t bufferChars, std::string& value)
{
    if (!m_hKey || bufferChars == 0)
        return false;
    std::vector<wchar_t> buffer(bufferChars, L'\0');
    DWORD type = REG_NONE;
    DWORD bytes = static_cast<DWORD>(bufferChars * sizeof(wchar_t));
    // A value longer than the buffer fails here with ERROR_MORE_DATA.
    if (RegQueryValueExW(m_hKey, Utf8ToWide(name).c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &bytes) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    // A text stored without its terminating zero counts as long as one still
    // fits behind it; one that fills the whole buffer does not.
    const auto stored = buffer.begin() + static_cast<std::ptrdiff_t>(bytes / sizeof(wchar_t));
    const auto length = static_cast<size_t>(std::find(buffer.begin(), stored, L'\0') - buffer.begin());
    if (length >= bufferChars)
        return false;
    value = Utf16ToUtf8(std::wstring_view(buffer.data(), length));
    return true;
}

bool CWin32SettingsStore::ReadNumber(const char* name, uint32_t& value)
{
    if (!m_hKey)
        return false;
    DWORD number = 0;
    DWORD type = REG_NONE;
    DWORD bytes = sizeof number;
    if (RegQueryValueExW(m_hKey, Utf8ToWide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&number),
                         &bytes) != ERROR_SUCCESS)
        return false;
    if (type != REG_DWORD || bytes != sizeof number)
        return false;
    value = number;
    return true;
}

void CWin32SettingsStore::WriteString(const char* name, const std::string& value)
{
    if (!m_hKey || !m_bWriting)
        return;
    const std::wstring text = Utf8ToWide(value);
    // The length counts the terminating zero.
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    if (RegSetValueExW(m_hKey, Utf8ToWide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       bytes) != ERROR_SUCCESS)
        m_bWriteFailed = true;
}

void CWin32SettingsStore::WriteNumber(const char* name, uint32_t value)
{
    if (!m_hKey || !m_bWriting)
        return;
    const DWORD number = value;
    if (RegSetValueExW(m_hKey, Utf8ToWide(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                       sizeof number) != ERROR_SUCCESS)
        m_bWriteFailed = true;
}

bool CWin32SettingsStore::Close()
{
    const bool bStored = m_bWriting ? (m_hKey != nullptr && !m_bWriteFailed) : true;
    CloseKey();
    m_bWriting = false;
    m_bWriteFailed = false;
    return bStored;
}

void CWin32SettingsStore::CloseKey()
{
    if (m_hKey)
        RegCloseKey(m_hKey);
    m_hKey = nullptr;
}
