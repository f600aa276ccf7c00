#pragma once

#include "port/LinuxSystem.h"
#include "port/PortBackend.h"

#include <cstdint>
#include <optional>
#include <string>

// Reaches the port through the Linux parport device (/dev/parportN, the
// ppdev module), claimed exclusively for as long as it is open.
class CParportBackend final : public IPortBackend {
public:
    // Finds the device whose base address is `base` under `procRoot`.
    CParportBackend(ILinuxSystem& system, uint16_t base,
                    std::string procRoot = "/proc", std::string devRoot = "/dev");
    // Uses the named device; its base is read back from the kernel when known.
    CParportBackend(ILinuxSystem& system, std::string devicePath, uint16_t base,
                    std::string procRoot = "/proc");
    ~CParportBackend() override;

    bool Open(std::string& error) override;
    void Close() override;
    uint8_t ReadByte(uint16_t port) override;
    void WriteByte(uint16_t port, uint8_t value) override;

    // The device path that serves `base`, as published by the kernel.
    static std::optional<std::string> FindDevice(ILinuxSystem& system, uint16_t base,
                                                 const std::string& procRoot,
                                                 const std::string& devRoot);
    const std::string& GetDevicePath() const { return m_strDevice; }

private:
    std::string DescribeOpenError(int err) const;
    std::string DescribeClaimError(int err) const;

    ILinuxSystem& m_system;
    uint16_t m_wBase;
    std::string m_strProcRoot;
    std::string m_strDevRoot;
    std::string m_strDevice;
    int m_fd = -1;
    bool m_bClaimed = false;
};
