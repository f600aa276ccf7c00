#pragma once

#include "port/PortBackend.h"
#include "port/SerialDevice.h"
#include "port/UsbDevice.h"
#include "text/CableKind.h"

#include <cstdint>
#include <memory>
#include <string>

class CLink;

// What the cables are made of: the system's ports, or a simulated
// calculator's.
class ICableParts {
public:
    virtual ~ICableParts() = default;
    // The two-line port behind the parallel cable.
    virtual std::unique_ptr<IPortBackend> MakeParallelPort(uint16_t base) = 0;
    // The serial port named `name` (a device path, COM1...).
    virtual std::unique_ptr<ISerialDevice> MakeSerialPort(const std::string& name) = 0;
    // The USB with the link cables on it.
    virtual std::unique_ptr<IUsbBus> MakeUsbBus() = 0;
};

// The running system's ports.
class CSystemCableParts final : public ICableParts {
public:
    std::unique_ptr<IPortBackend> MakeParallelPort(uint16_t base) override;
    std::unique_ptr<ISerialDevice> MakeSerialPort(const std::string& name) override;
    std::unique_ptr<IUsbBus> MakeUsbBus() override;
};

// Gives `link` the cable of that kind, made of `parts`: the parallel port at
// `base`, the serial port `port` with the black cable's bit handshake on
// its modem lines or the gray cable's bytes, or the USB link cable that
// `port` names (empty: the first one plugged in; see CUsbCable). The link
// then opens it with CLink::Open(base, timeout).
void ChooseCable(CLink& link, CableKind kind, uint16_t base, const std::string& port, ICableParts& parts);

// The cable for a user who never chose one: the USB link cable when it is
// the only cable to be found (exactly one USB link cable plugged in, and no
// parallel port at `base` that opens), the parallel cable otherwise. A
// serial cable is never guessed: nothing tells which is on a port.
CableKind GuessUnchosenCable(uint16_t base, ICableParts& parts);

// The cable's port as messages name it: the serial port, or the USB link
// cable (with `port`, where it is plugged, when one was named).
std::string NameOfCablePort(CableKind cable, const std::string& port);
