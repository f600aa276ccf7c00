#pragma once

#include <cstdint>
#include <string>

// One way of reaching a two-line port, seen as the two registers of the
// parallel port (bits 0 and 1 of the data register drive the lines, bits 5
// and 4 of the status register read them): a kernel driver, the Linux
// parport device, raw port instructions, the modem lines of a serial port
// or the simulated cable. CPortIo owns exactly one of these.
class IPortBackend {
public:
    virtual ~IPortBackend() = default;

    // Makes the registers reachable. On failure `error` receives one sentence
    // the user can act on, and the backend stays closed.
    virtual bool Open(std::string& error) = 0;
    virtual void Close() = 0;

    virtual uint8_t ReadByte(uint16_t port) = 0;
    virtual void WriteByte(uint16_t port, uint8_t value) = 0;

    // The way to the lines failed in a way that closing and opening it again
    // may mend (a USB-serial adapter unplugged and plugged back in).
    virtual bool NeedsReopen() const { return false; }
};
