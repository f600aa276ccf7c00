#pragma once

#include "settings/SettingsStore.h"

#include <string>

struct HKEY__;

// The settings key in the Windows registry, under HKEY_LOCAL_MACHINE, opened
// and created with read, set-value and create-subkey access (0x2001F).
// Strings are REG_SZ values and numbers REG_DWORD values. A string is read
// into a buffer of the caller's size and taken only when it is a plain or
// expandable string that fits with its terminating zero (stored or not); a
// number only when it is a REG_DWORD of four bytes.
class CWin32SettingsStore final : public ISettingsStore {
public:
    static constexpr const char* SETTINGS_KEY = "SOFTWARE\\Corvessan\\Vantrel 92";

    // `subKey` of HKEY_LOCAL_MACHINE: the program's key unless a test names its own.
    explicit CWin32SettingsStore(std::string subKey = SETTINGS_KEY);
    ~CWin32SettingsStore() override;

    CWin32SettingsStore(const CWin32SettingsStore&) = delete;
    CWin32SettingsStore& operator=(const CWin32SettingsStore&) = delete;

    bool OpenForRead() override;
    bool OpenForWrite() override;
    bool ReadString(const char* name, size_t bufferChars, std::string& value) override;
    bool ReadNumber(const char* name, uint32_t& value) override;
    void WriteString(const char* name, const std::string& value) override;
    void WriteNumber(const char* name, uint32_t value) override;
    bool Close() override;

    // The key as the registry editor shows it.
    std::string Location() const;

private:
    void CloseKey();

    std::string m_strSubKey;
    HKEY__* m_hKey = nullptr;
    bool m_bWriting = false;
    bool m_bWriteFailed = false;
};
