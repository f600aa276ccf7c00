#pragma once

#include "port/ByteCable.h"
#include "port/SerialDevice.h"

#include <memory>
#include <string>

// The gray serial cable: a small computer in the cable does the bit
// handshake with the calculator and speaks plain 9600-baud serial bytes to
// the PC. It draws its power from DTR and RTS, which stay asserted.
class CGrayCable final : public IByteCable {
public:
    explicit CGrayCable(std::unique_ptr<ISerialDevice> device);

    bool Open(std::string& error) override;
    void Close() override;
    int Write(const uint8_t* data, size_t size, uint32_t waitMs) override;
    int Read(uint8_t* data, size_t size, uint32_t waitMs) override;
    void Purge() override;
    bool NeedsReopen() const override { return m_bFailed; }

private:
    int Watch(int result);

    std::unique_ptr<ISerialDevice> m_pDevice;
    bool m_bOpen = false;
    bool m_bFailed = false;
};
