#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// How a serial port is set up when it opens.
enum class SerialMode {
    // The four modem lines only, as two wires: no baud rate, no bytes.
    ModemLines,
    // Raw bytes at 9600 baud, 8 data bits, no parity, 1 stop bit, no flow
    // control, both directions flushed; DTR and RTS asserted.
    Bytes9600,
};

// One serial port of the system (a /dev/tty* device, a COM port) or a
// simulated one: the modem lines and raw bytes. The cables are built on
// this, so their logic is the same on every system and in the tests.
class ISerialDevice {
public:
    virtual ~ISerialDevice() = default;

    // On failure `error` receives one sentence the user can act on (no such
    // port, no permission and how to get it, not a serial port, an adapter
    // that does not pass the modem lines) and the device stays closed.
    virtual bool Open(SerialMode mode, std::string& error) = 0;
    virtual void Close() = 0;
    // The name the user gave, for messages.
    virtual const std::string& GetName() const = 0;

    // Asserts (true) or clears the two outputs; false when the port refused.
    virtual bool SetLines(bool rts, bool dtr) = 0;
    // Reads the two inputs; false when the port refused.
    virtual bool GetLines(bool& cts, bool& dsr) = 0;

    // Waits at most `waitMs` for the port to take bytes and hands over as
    // many as it takes at once: their count, 0 when it took none in time,
    // -1 when the port failed (an adapter unplugged).
    virtual int Write(const uint8_t* data, size_t size, uint32_t waitMs) = 0;
    // Waits at most `waitMs` for a byte and returns what has arrived, up to
    // `size`: the count, 0 when nothing came in time, -1 when the port failed.
    virtual int Read(uint8_t* data, size_t size, uint32_t waitMs) = 0;
    // Throws away what is waiting in either direction.
    virtual void Purge() = 0;
};
