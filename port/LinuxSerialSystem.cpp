#include "port/LinuxSerialSystem.h"

#include "port/LinuxSerialDevice.h"
#include "port/LinuxSystem.h"
#include "port/SerialPorts.h"

#include <cerrno>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// What the parport code already reaches (opening, requests, folders, files,
// groups) goes through its system; the rest is the terminal's own.
class CRealLinuxSerialSystem final : public ILinuxSerialSystem {
public:
    int Open(const std::string& path, int flags) override { return m_system.Open(path, flags); }
    void Close(int fd) override { m_system.Close(fd); }
    int Ioctl(int fd, unsigned long request, void* arg) override { return m_system.Ioctl(fd, request, arg); }
    int GetAttributes(int fd, termios& settings) override { return ::tcgetattr(fd, &settings) == 0 ? 0 : -errno; }
    int SetAttributes(int fd, const termios& settings) override
    {
        return ::tcsetattr(fd, TCSANOW, &settings) == 0 ? 0 : -errno;
    }
    int Flush(int fd, int queues) override { return ::tcflush(fd, queues) == 0 ? 0 : -errno; }
    int Poll(int fd, short events, int ms, short& revents) override
    {
        pollfd entry{fd, events, 0};
        int result;
        do {
            result = ::poll(&entry, 1, ms);
        } while (result < 0 && errno == EINTR);
        revents = entry.revents;
        return result >= 0 ? result : -errno;
    }
    int Read(int fd, void* buffer, size_t size) override
    {
        const ssize_t n = ::read(fd, buffer, size);
        return n >= 0 ? static_cast<int>(n) : -errno;
    }
    int Write(int fd, const void* buffer, size_t size) override
    {
        const ssize_t n = ::write(fd, buffer, size);
        return n >= 0 ? static_cast<int>(n) : -errno;
    }
    std::vector<std::string> ListDirectory(const std::string& path) override { return m_system.ListDirectory(path); }
    std::optional<std::string> ReadTextFile(const std::string& path) override { return m_system.ReadTextFile(path); }
    std::string GroupOf(const std::string& path) override { return m_system.GroupOf(path); }

private:
    ILinuxSystem& m_system = RealLinuxSystem();
};

} // namespace

ILinuxSerialSystem& RealLinuxSerialSystem()
{
    static CRealLinuxSerialSystem system;
    return system;
}

std::unique_ptr<ISerialDevice> MakeSystemSerialDevice(const std::string& name)
{
    return std::make_unique<CLinuxSerialDevice>(RealLinuxSerialSystem(), name);
}

std::vector<std::string> ListSystemSerialPorts()
{
    return CLinuxSerialDevice::ListPorts(RealLinuxSerialSystem());
}
