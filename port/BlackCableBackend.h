#pragma once

#include "port/PortBackend.h"
#include "port/SerialDevice.h"

#include <cstdint>
#include <memory>
#include <string>

// The black serial cable: the calculator's two wires on a serial port's
// modem lines, presented as the parallel port's two registers so that the
// bit handshake runs over it unchanged. The red wire is driven by RTS and
// read on CTS (line D0: data bit 0, status bit 5), the white one driven by
// DTR and read on DSR (line D1: data bit 1, status bit 4). An asserted
// output lets its wire go high; an asserted input means the wire is high.
class CBlackCableBackend final : public IPortBackend {
public:
    // `base` is the data register the link addresses; the status register
    // is base + 1.
    CBlackCableBackend(std::unique_ptr<ISerialDevice> device, uint16_t base);

    bool Open(std::string& error) override;
    void Close() override;
    uint8_t ReadByte(uint16_t port) override;
    void WriteByte(uint16_t port, uint8_t value) override;
    bool NeedsReopen() const override { return m_bFailed; }

    static constexpr uint8_t STATUS_RED = 0x20;
    static constexpr uint8_t STATUS_WHITE = 0x10;
    static constexpr uint8_t DATA_RED = 0x01;
    static constexpr uint8_t DATA_WHITE = 0x02;

private:
    std::unique_ptr<ISerialDevice> m_pDevice;
    uint16_t m_wBase;
    bool m_bOpen = false;
    bool m_bFailed = false;
    // What the data register holds: the outputs as last set.
    uint8_t m_data = DATA_RED | DATA_WHITE;
};
