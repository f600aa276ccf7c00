#pragma once

#include "port/LinuxSystem.h"
#include "port/PortBackend.h"

#include <cstdint>
#include <memory>
#include <string>

// The Linux way to the port: the parport device when it can be had, raw
// port instructions (root only) otherwise.
class CLinuxPortBackend final : public IPortBackend {
public:
    CLinuxPortBackend(ILinuxSystem& system, uint16_t base, std::string procRoot = "/proc",
                      std::string devRoot = "/dev");

    bool Open(std::string& error) override;
    void Close() override;
    uint8_t ReadByte(uint16_t port) override;
    void WriteByte(uint16_t port, uint8_t value) override;

    // Which way was taken by the last successful Open: "ppdev", "raw" or empty.
    const std::string& GetMethod() const { return m_strMethod; }

private:
    ILinuxSystem& m_system;
    uint16_t m_wBase;
    std::string m_strProcRoot;
    std::string m_strDevRoot;
    std::unique_ptr<IPortBackend> m_active;
    std::string m_strMethod;
};
