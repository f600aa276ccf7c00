#pragma once

#include "port/LinuxSystem.h"
#include "port/PortBackend.h"

#include <cstdint>

// Reaches the port with the processor's own in/out instructions. Only root
// may be granted the three register addresses.
class CRawPortBackend final : public IPortBackend {
public:
    CRawPortBackend(ILinuxSystem& system, uint16_t base);
    ~CRawPortBackend() override;

    bool Open(std::string& error) override;
    void Close() override;
    uint8_t ReadByte(uint16_t port) override;
    void WriteByte(uint16_t port, uint8_t value) override;

private:
    static constexpr unsigned long REGISTER_COUNT = 3;

    ILinuxSystem& m_system;
    uint16_t m_wBase;
    bool m_bOpen = false;
};
