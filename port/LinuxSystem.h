#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The few system calls the Linux port backends make, behind one seam so that
// their logic (device lookup, request order, error wording) runs in tests on
// a machine without a parallel port. Calls that can fail return 0 or a
// descriptor on success and the negated errno on failure.
class ILinuxSystem {
public:
    virtual ~ILinuxSystem() = default;

    virtual int Open(const std::string& path, int flags) = 0;
    virtual int Ioctl(int fd, unsigned long request, void* arg) = 0;
    virtual void Close(int fd) = 0;

    virtual std::vector<std::string> ListDirectory(const std::string& path) = 0;
    virtual std::optional<std::string> ReadTextFile(const std::string& path) = 0;
    virtual bool Exists(const std::string& path) = 0;
    // Name of the group owning the file, empty when it cannot be told.
    virtual std::string GroupOf(const std::string& path) = 0;
    virtual bool IsRoot() = 0;

    virtual int IoPerm(unsigned long from, unsigned long count, bool enable) = 0;
    virtual uint8_t InByte(uint16_t port) = 0;
    virtual void OutByte(uint16_t port, uint8_t value) = 0;
};

// The running system's own calls.
ILinuxSystem& RealLinuxSystem();

// Why a device may not be opened, and how to get access: join `group`, the
// group that owns it, or, when that cannot be told, ask the administrator.
std::string NoAccessText(const std::string& device, const std::string& group);
