#pragma once

#include "settings/SettingsStore.h"

#include <QSettings>
#include <QString>

#include <memory>

// The settings key through the toolkit's settings class. On Windows it is
// the registry key HKEY_LOCAL_MACHINE\SOFTWARE\Corvessan\Vantrel 92 with
// string and 32-bit number values. Elsewhere it is the file
// "Corvessan/Vantrel 92.conf" in the user's configuration folder
// ($XDG_CONFIG_HOME, else ~/.config), where a number is written the way
// registry exports write it, "dword:" and eight hex digits, so that a value
// keeps its type.
class CQtSettingsStore final : public ISettingsStore {
public:
    CQtSettingsStore();
    ~CQtSettingsStore() override;

    bool OpenForRead() override;
    bool OpenForWrite() override;
    bool ReadString(const char* name, size_t bufferChars, std::string& value) override;
    bool ReadNumber(const char* name, uint32_t& value) override;
    void WriteString(const char* name, const std::string& value) override;
    void WriteNumber(const char* name, uint32_t value) override;
    bool Close() override;

    // The file or registry path, as the user would look for it.
    static QString Location();

private:
    std::unique_ptr<QSettings> m_settings;
    bool m_bWriting = false;
};
