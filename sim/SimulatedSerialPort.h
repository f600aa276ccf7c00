#pragma once

#include "port/SerialDevice.h"
#include "sim/CalcLinkEnd.h"
#include "sim/SimulatedCable.h"

#include <cstdint>
#include <string>

// A serial port with the simulated calculator behind it, so that the real
// serial cables' code runs against it. Opened for its modem lines (the
// black cable), RTS and DTR drive the cable's lines D0 and D1 and CTS and
// DSR read them, each call one access of the cable; opened for bytes (the
// gray cable), the bytes go to and come from the calculator whole, as the
// gray cable's own computer hands them on, and CTS and DSR follow RTS and
// DTR as that cable's do.
class CSimulatedSerialPort final : public ISerialDevice {
public:
    CSimulatedSerialPort(CSimulatedCable& cable, CCalcLinkEnd& end, std::string name);

    bool Open(SerialMode mode, std::string& error) override;
    void Close() override { m_bOpen = false; }
    const std::string& GetName() const override { return m_strName; }
    bool SetLines(bool rts, bool dtr) override;
    bool GetLines(bool& cts, bool& dsr) override;
    int Write(const uint8_t* data, size_t size, uint32_t waitMs) override;
    int Read(uint8_t* data, size_t size, uint32_t waitMs) override;
    void Purge() override {}

    // Calls made since the port opened: modem-line requests and byte writes.
    uint64_t GetLineCalls() const { return m_nLineCalls; }
    uint64_t GetWriteCalls() const { return m_nWriteCalls; }

private:
    CSimulatedCable& m_cable;
    CCalcLinkEnd& m_end;
    std::string m_strName;
    bool m_bOpen = false;
    SerialMode m_mode = SerialMode::ModemLines;
    bool m_bRts = true;
    bool m_bDtr = true;
    uint64_t m_nLineCalls = 0;
    uint64_t m_nWriteCalls = 0;
};
