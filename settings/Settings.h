#pragma once

#include "text/CableKind.h"

#include <cstdint>
#include <string>

class ISettingsStore;
class IUserMessages;

// The user's settings and the rules that guard them: the port text, the
// language index (0 Italian, 1 English) and the link time-out in
// milliseconds, stored together with a version text; a store that is
// missing, of another version or holds any unusable value of these is
// replaced by the defaults as a whole. Beside them, the cable and the
// serial port it is on: a store written before there was a choice of cable
// lacks them, so a missing or unusable one takes its default alone (the
// parallel cable, or the guessed one, and the first serial port) and the
// others are kept. A cable the user never chose is not written until the
// user saves one. Changes reach the link only at the next start.
class CSettings {
public:
    static constexpr uint32_t MIN_TIMEOUT = 1;
    static constexpr uint32_t MAX_TIMEOUT = 10000;

    void SetDefaultSettings();
    // Reads the settings; on any missing or unusable value sets the defaults
    // and saves them.
    void LoadFrom(ISettingsStore& store, IUserMessages& messages);
    // The same without ever writing: false, with the defaults set, when the
    // store is missing or unusable.
    bool ReadFrom(ISettingsStore& store);
    // Writes every value; "Errore creazione chiave!" when the store
    // cannot be written.
    void SaveTo(ISettingsStore& store, IUserMessages& messages) const;

    uint32_t GetPortBase() const;
    uint32_t GetTimeout() const { return m_uTimeout; }
    CableKind GetCable() const { return m_cable; }
    const std::string& GetSerialPort() const { return m_strPortSerial; }
    // The store holds a cable: the user chose one.
    bool IsCableChosen() const { return m_bCableChosen; }
    // The cable that stands in while the user has not chosen one (the
    // parallel cable unless another is guessed from what is plugged in).
    void SetUnchosenCable(CableKind cable);

    std::string m_strPortLpt;
    int32_t m_nLanguage = 0;
    uint32_t m_uTimeout = 0;
    CableKind m_cable = CableKind::Parallel;
    std::string m_strPortSerial;

protected:
    bool m_bCableChosen = false;

private:
    bool ReadAll(ISettingsStore& store);
    void ReadCable(ISettingsStore& store);

    CableKind m_unchosenCable = CableKind::Parallel;
};

// The serial port a serial cable is on until another is chosen.
std::string DefaultSerialPort();

// The settings version text: the first and the third of the program's four
// product-version numbers, "%u.%u" ("1.0" for 1.2.0.0).
std::string SettingsVersionText();

// Checks a typed time-out. On success `value` holds it; otherwise `message`
// holds the text to show the user.
bool ParseTimeoutText(const std::string& text, uint32_t& value, std::string& message);

// Limits of the stored strings, with their terminating zero.
inline constexpr size_t VERSION_BUFFER_CHARS = 15;
inline constexpr size_t PORT_BUFFER_CHARS = 20;
// A serial port's name may be a long device path (/dev/serial/by-id/...).
inline constexpr size_t SERIAL_PORT_BUFFER_CHARS = 260;
