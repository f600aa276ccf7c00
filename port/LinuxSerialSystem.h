#pragma once

#include <optional>
#include <string>
#include <vector>

#include <termios.h>

// The system calls of the Linux serial ports, behind one seam so that the
// port code (open flags, terminal settings, modem-line requests, error
// wording) runs in tests down to each call. Calls that can fail return 0, a
// count or a descriptor on success and the negated errno on failure.
class ILinuxSerialSystem {
public:
    virtual ~ILinuxSerialSystem() = default;

    virtual int Open(const std::string& path, int flags) = 0;
    virtual void Close(int fd) = 0;
    virtual int Ioctl(int fd, unsigned long request, void* arg) = 0;
    virtual int GetAttributes(int fd, termios& settings) = 0;
    virtual int SetAttributes(int fd, const termios& settings) = 0;
    // tcflush: TCIFLUSH, TCOFLUSH or TCIOFLUSH.
    virtual int Flush(int fd, int queues) = 0;
    // Waits up to `ms` for `events` (POLLIN, POLLOUT): 1 with `revents` set,
    // 0 on time-out.
    virtual int Poll(int fd, short events, int ms, short& revents) = 0;
    virtual int Read(int fd, void* buffer, size_t size) = 0;
    virtual int Write(int fd, const void* buffer, size_t size) = 0;

    virtual std::vector<std::string> ListDirectory(const std::string& path) = 0;
    virtual std::optional<std::string> ReadTextFile(const std::string& path) = 0;
    // Name of the group owning the file, empty when it cannot be told.
    virtual std::string GroupOf(const std::string& path) = 0;
};

// The running system's own calls.
ILinuxSerialSystem& RealLinuxSerialSystem();
