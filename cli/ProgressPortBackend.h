#pragma once

#include "port/PortBackend.h"

#include <cstdint>
#include <memory>

class CProgressMeter;

// Passes every port access through to the real backend and tells the
// progress meter how many bytes have crossed the cable. The cable layer
// writes the data register twice per bit whichever way the byte travels,
// so sixteen writes are one byte.
class CProgressPortBackend final : public IPortBackend {
public:
    static constexpr uint32_t kWritesPerByte = 16;

    CProgressPortBackend(std::unique_ptr<IPortBackend> inner, CProgressMeter& meter);

    bool Open(std::string& error) override { return m_inner->Open(error); }
    void Close() override { m_inner->Close(); }
    uint8_t ReadByte(uint16_t port) override { return m_inner->ReadByte(port); }
    void WriteByte(uint16_t port, uint8_t value) override;

private:
    std::unique_ptr<IPortBackend> m_inner;
    CProgressMeter& m_meter;
    uint32_t m_nWrites = 0;
};
