#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The values of the configuration page's controls as plain data: the port
// box's text, the language box's selected index (-1 for none) and the
// time-out field's text.
struct ConfigValues {
    std::string port;
    int language = -1;
    std::string timeout;

    bool operator==(const ConfigValues&) const = default;
};

// The cable box's selected index (-1 for none; the indexes are the cables'
// stored numbers) and the serial port box's text.
struct CableValues {
    int cable = -1;
    std::string serialPort;

    bool operator==(const CableValues&) const = default;
};

// The configuration page's window as its logic sees it.
class IConfigView {
public:
    virtual ~IConfigView() = default;

    // Replaces the items of the two boxes; the port box takes typed texts of
    // at most `portMaxChars` characters as well.
    virtual void FillChoices(const std::vector<std::string>& ports, const std::vector<std::string>& languages,
                             size_t portMaxChars) = 0;
    virtual void ShowValues(const ConfigValues& values) = 0;
    virtual ConfigValues ReadValues() const = 0;
    // Puts the focus back on the time-out field with its text selected.
    virtual void FocusTimeout() = 0;

    // Replaces the cable box's items, named by their string ids, and the
    // serial port box's; the latter takes typed texts of at most
    // `serialMaxChars` characters as well.
    virtual void FillCableChoices(const std::vector<int>& cableNameIds, const std::vector<std::string>& serialPorts,
                                  size_t serialMaxChars) = 0;
    virtual void ShowCable(const CableValues& values) = 0;
    virtual CableValues ReadCable() const = 0;
    // Shows the serial port's label and box (true) or the parallel port's.
    virtual void ShowSerialPortChoice(bool serial) = 0;
};
