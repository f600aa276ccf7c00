#include "settings/Settings.h"

#include "settings/SettingsStore.h"
#include "text/HexText.h"
#include "text/StringIds.h"
#include "text/UserMessages.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <string_view>

namespace {

constexpr const char* VALUE_VERSION = "Version";
constexpr const char* VALUE_PORT_LPT = "Port_LPT";
constexpr const char* VALUE_LANGUAGE = "Language";
constexpr const char* VALUE_TIMEOUT = "Timeout";
constexpr const char* VALUE_CABLE = "Cable";
constexpr const char* VALUE_PORT_SERIAL = "Port_Serial";

// Fills "%1" and "%2" of the toolkit's range message.
std::string FormatRange(uint32_t low, uint32_t high)
{
    const std::string_view pattern = TEXT_ENTER_INTEGER_BETWEEN;
    std::string text;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == '1' || pattern[i + 1] == '2')) {
            text += std::to_string(pattern[i + 1] == '1' ? low : high);
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

} // namespace

std::string SettingsVersionText()
{
    return std::to_string(unsigned(VANTREL_VERSION_MAJOR)) + "." + std::to_string(unsigned(VANTREL_VERSION_PATCH));
}

std::string DefaultSerialPort()
{
#if defined(_WIN32)
    return "COM1";
#else
    return "/dev/ttyS0";
#endif
}

void CSettings::SetDefaultSettings()
{
    m_strPortLpt = "0x378";
    m_nLanguage = 1;
    m_uTimeout = 1000;
    m_cable = m_unchosenCable;
    m_bCableChosen = false;
    m_strPortSerial = DefaultSerialPort();
}

void CSettings::SetUnchosenCable(CableKind cable)
{
    m_unchosenCable = cable;
    if (!m_bCableChosen)
        m_cable = cable;
}

void CSettings::LoadFrom(ISettingsStore& store, IUserMessages& messages)
{
    if (!ReadFrom(store))
        SaveTo(store, messages);
}

bool CSettings::ReadFrom(ISettingsStore& store)
{
    bool bUsable = false;
    if (store.OpenForRead()) {
        bUsable = ReadAll(store);
        store.Close();
    }
    if (!bUsable)
        SetDefaultSettings();
    return bUsable;
}

// Nothing is taken over unless every value is usable, so a damaged store
// never leaves a mixture of stored and default values behind.
bool CSettings::ReadAll(ISettingsStore& store)
{
    std::string version;
    std::string port;
    uint32_t language = 0;
    uint32_t timeout = 0;
    if (!store.ReadString(VALUE_VERSION, VERSION_BUFFER_CHARS, version) || version != SettingsVersionText())
        return false;
    if (!store.ReadString(VALUE_PORT_LPT, PORT_BUFFER_CHARS, port))
        return false;
    // Values the program never writes alone: a missing or damaged one means
    // the store was edited by hand, and a time-out outside its range would
    // make every exchange fail.
    if (!store.ReadNumber(VALUE_LANGUAGE, language) || !store.ReadNumber(VALUE_TIMEOUT, timeout))
        return false;
    if (timeout < MIN_TIMEOUT || timeout > MAX_TIMEOUT)
        return false;
    m_strPortLpt = port;
    m_nLanguage = static_cast<int32_t>(language);
    m_uTimeout = timeout;
    ReadCable(store);
    return true;
}

void CSettings::ReadCable(ISettingsStore& store)
{
    uint32_t number = 0;
    const auto cable = store.ReadNumber(VALUE_CABLE, number) ? CableFromNumber(number) : std::nullopt;
    m_bCableChosen = cable.has_value();
    m_cable = cable.value_or(m_unchosenCable);
    std::string port;
    if (store.ReadString(VALUE_PORT_SERIAL, SERIAL_PORT_BUFFER_CHARS, port) && !port.empty())
        m_strPortSerial = port;
    else
        m_strPortSerial = DefaultSerialPort();
}

void CSettings::SaveTo(ISettingsStore& store, IUserMessages& messages) const
{
    if (!store.OpenForWrite()) {
        messages.ShowText(TEXT_KEY_CREATION_FAILED);
        return;
    }
    store.WriteString(VALUE_VERSION, SettingsVersionText());
    store.WriteString(VALUE_PORT_LPT, m_strPortLpt);
    store.WriteNumber(VALUE_LANGUAGE, static_cast<uint32_t>(m_nLanguage));
    store.WriteNumber(VALUE_TIMEOUT, m_uTimeout);
    if (m_bCableChosen || m_cable != m_unchosenCable)
        store.WriteNumber(VALUE_CABLE, static_cast<uint32_t>(m_cable));
    store.WriteString(VALUE_PORT_SERIAL, m_strPortSerial);
    if (!store.Close())
        messages.ShowText(TEXT_KEY_CREATION_FAILED);
}

uint32_t CSettings::GetPortBase() const
{
    return ParseHexText(m_strPortLpt);
}

bool ParseTimeoutText(const std::string& text, uint32_t& value, std::string& message)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    if (begin == end) {
        message = TEXT_ENTER_POSITIVE_INTEGER;
        return false;
    }
    uint64_t number = 0;
    for (size_t i = begin; i < end; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') {
            message = TEXT_ENTER_POSITIVE_INTEGER;
            return false;
        }
        // Saturate: a long row of digits is still a number out of range.
        number = std::min<uint64_t>(number * 10 + uint64_t(c - '0'), std::numeric_limits<uint32_t>::max() + uint64_t(1));
    }
    if (number < CSettings::MIN_TIMEOUT || number > CSettings::MAX_TIMEOUT) {
        message = FormatRange(CSettings::MIN_TIMEOUT, CSettings::MAX_TIMEOUT);
        return false;
    }
    value = static_cast<uint32_t>(number);
    return true;
}
