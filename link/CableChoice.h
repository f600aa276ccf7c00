#pragma once

#include "port/PortBackend.h"
#include "port/SerialDevice.h"
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
};

// The running system's ports.
class CSystemCableParts final : public ICableParts {
public:
    std::unique_ptr<IPortBackend> MakeParallelPort(uint16_t base) override;
    std::unique_ptr<ISerialDevice> MakeSerialPort(const std::string& name) override;
};

// Gives `link` the cable of that kind, made of `parts`: the parallel port at
// `base`, or the serial port `serialPort` with the black cable's bit
// handshake on its modem lines or the gray cable's bytes. The link then
// opens it with CLink::Open(base, timeout). The USB cable is not made yet:
// opening it fails with a message that says so.
void ChooseCable(CLink& link, CableKind kind, uint16_t base, const std::string& serialPort, ICableParts& parts);
