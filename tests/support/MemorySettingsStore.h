#pragma once

#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <cstdint>
#include <map>
#include <string>
#include <variant>

// The settings key in memory: string and number values by name, with the
// store's limits; `writable` false makes it refuse every write.
class CMemorySettingsStore final : public ISettingsStore {
public:
    using Value = std::variant<std::string, uint32_t>;

    std::map<std::string, Value> values;
    bool writable = true;
    int saves = 0;

    bool OpenForRead() override { return !values.empty(); }
    bool OpenForWrite() override { return m_bWriting = writable; }
    bool ReadString(const char* name, size_t bufferChars, std::string& value) override
    {
        const auto it = values.find(name);
        if (it == values.end() || !std::holds_alternative<std::string>(it->second))
            return false;
        value = std::get<std::string>(it->second);
        return value.size() < bufferChars;
    }
    bool ReadNumber(const char* name, uint32_t& value) override
    {
        const auto it = values.find(name);
        if (it == values.end() || !std::holds_alternative<uint32_t>(it->second))
            return false;
        value = std::get<uint32_t>(it->second);
        return true;
    }
    void WriteString(const char* name, const std::string& value) override { values[name] = value; }
    void WriteNumber(const char* name, uint32_t value) override { values[name] = value; }
    bool Close() override
    {
        saves += m_bWriting;
        m_bWriting = false;
        return true;
    }

    // The four values as the program writes them.
    void Store(const std::string& port, uint32_t language, uint32_t timeout)
    {
        values = {{"Version", SettingsVersionText()}, {"Port_LPT", port}, {"Language", language}, {"Timeout", timeout}};
    }

private:
    bool m_bWriting = false;
};
