#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The cables the program can talk through, as the settings store them
// (these numbers) and as the command line names them (CableWord).
enum class CableKind : uint32_t {
    Parallel = 0,
    BlackSerial = 1,
    GraySerial = 2,
    Usb = 3,
};

inline constexpr CableKind ALL_CABLES[] = {CableKind::Parallel, CableKind::BlackSerial, CableKind::GraySerial,
                                           CableKind::Usb};

// "parallel", "black", "gray", "usb".
const char* CableWord(CableKind kind);
std::optional<CableKind> CableFromWord(const std::string& word);
std::optional<CableKind> CableFromNumber(uint32_t number);
// The string id of the cable's name shown to the user.
int CableNameId(CableKind kind);
// The cable is on a serial port, named by a device or COM port.
bool IsSerialCable(CableKind kind);
