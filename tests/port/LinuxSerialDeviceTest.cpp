#include "port/BlackCableBackend.h"
#include "port/GrayCable.h"
#include "port/LinuxSerialDevice.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <memory>
#include <poll.h>
#include <sys/ioctl.h>

namespace {

// The serial calls of a system with a fake /dev and /sys, recording each.
class CFakeSerialSystem final : public ILinuxSerialSystem {
public:
    std::map<std::string, int> openErrors; // path -> errno
    std::map<unsigned long, int> ioctlErrors;
    int getAttrError = 0;
    int modemBits = TIOCM_CTS | TIOCM_DSR | TIOCM_RTS | TIOCM_DTR;
    termios set{};
    int openFlags = 0;
    std::vector<std::string> calls;
    std::vector<std::string> dev;
    std::map<std::string, std::string> files;
    int readResult = 0;
    short readyEvents = POLLIN;

    int Open(const std::string& path, int flags) override
    {
        calls.push_back("open " + path);
        openFlags = flags;
        if (auto it = openErrors.find(path); it != openErrors.end())
            return -it->second;
        return 5;
    }
    void Close(int) override { calls.push_back("close"); }
    int Ioctl(int, unsigned long request, void* arg) override
    {
        calls.push_back(request == TIOCMGET ? "get lines" : request == TIOCMSET ? "set lines" : "ioctl");
        if (auto it = ioctlErrors.find(request); it != ioctlErrors.end())
            return -it->second;
        if (request == TIOCMGET)
            *static_cast<int*>(arg) = modemBits;
        if (request == TIOCMSET)
            modemBits = *static_cast<int*>(arg);
        return 0;
    }
    int GetAttributes(int, termios& settings) override
    {
        settings = termios{};
        settings.c_cflag = CRTSCTS | HUPCL | PARENB;
        settings.c_iflag = IXON | ICRNL;
        settings.c_lflag = ICANON | ECHO;
        return -getAttrError;
    }
    int SetAttributes(int, const termios& settings) override
    {
        set = settings;
        calls.push_back("set attributes");
        return 0;
    }
    int Flush(int, int) override
    {
        calls.push_back("flush");
        return 0;
    }
    int Poll(int, short events, int, short& revents) override
    {
        revents = static_cast<short>(readyEvents & (events | POLLERR | POLLHUP));
        return revents != 0 ? 1 : 0;
    }
    int Read(int, void*, size_t) override { return readResult; }
    int Write(int, const void*, size_t size) override { return static_cast<int>(size); }
    std::vector<std::string> ListDirectory(const std::string&) override { return dev; }
    std::optional<std::string> ReadTextFile(const std::string& path) override
    {
        if (auto it = files.find(path); it != files.end())
            return it->second;
        return std::nullopt;
    }
    std::string GroupOf(const std::string&) override { return "dialout"; }
};

} // namespace

TEST(LinuxSerialDevice, OpenErrorsSayWhatTheUserCanDo)
{
    const struct {
        int openError;
        int getAttrError;
        int modemError;
        const char* said;
    } cases[] = {
        {ENOENT, 0, 0, "There is no serial port /dev/ttyUSB0"},
        {EACCES, 0, 0, "add your user to the group 'dialout' that owns it (sudo adduser $USER dialout)"},
        {EBUSY, 0, 0, "in use by another program"},
        {0, ENOTTY, 0, "/dev/ttyUSB0 is not a serial port"},
        {0, 0, EINVAL, "/dev/ttyUSB0 does not pass the modem lines the black cable needs"},
    };
    for (const auto& c : cases) {
        CFakeSerialSystem system;
        if (c.openError)
            system.openErrors["/dev/ttyUSB0"] = c.openError;
        system.getAttrError = c.getAttrError;
        if (c.modemError)
            system.ioctlErrors[TIOCMGET] = c.modemError;
        CBlackCableBackend black(std::make_unique<CLinuxSerialDevice>(system, "/dev/ttyUSB0"), 0x378);
        std::string error;
        EXPECT_FALSE(black.Open(error)) << c.said;
        EXPECT_NE(error.find(c.said), std::string::npos) << error;
        // Whatever was opened is closed again.
        const auto opened = std::count(system.calls.begin(), system.calls.end(), "open /dev/ttyUSB0");
        EXPECT_EQ(std::count(system.calls.begin(), system.calls.end(), "close"), c.openError ? 0 : opened);
    }
}

TEST(LinuxSerialDevice, TheGrayCableGetsRawBytesAt9600WithoutFlowControlAndItsPower)
{
    CFakeSerialSystem system;
    system.modemBits = TIOCM_CTS;
    CGrayCable gray(std::make_unique<CLinuxSerialDevice>(system, "/dev/ttyUSB0"));
    std::string error;
    ASSERT_TRUE(gray.Open(error)) << error;
    EXPECT_EQ(system.openFlags & (O_RDWR | O_NOCTTY | O_NONBLOCK), O_RDWR | O_NOCTTY | O_NONBLOCK);
    EXPECT_EQ(cfgetispeed(&system.set), B9600);
    EXPECT_EQ(cfgetospeed(&system.set), B9600);
    EXPECT_EQ(system.set.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS | CLOCAL | CREAD), CS8 | CLOCAL | CREAD);
    EXPECT_EQ(system.set.c_iflag & (IXON | IXOFF | ICRNL), 0u);
    EXPECT_EQ(system.set.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(system.modemBits & (TIOCM_RTS | TIOCM_DTR), TIOCM_RTS | TIOCM_DTR);
    EXPECT_EQ(std::count(system.calls.begin(), system.calls.end(), "flush"), 2); // at the open, and once powered

    // A port that hangs up (an adapter pulled out) fails the cable until it is opened again.
    uint8_t byte = 0;
    system.readResult = 0;
    EXPECT_EQ(gray.Read(&byte, 1, 50), -1);
    EXPECT_TRUE(gray.NeedsReopen());
    ASSERT_TRUE(gray.Open(error));
    EXPECT_FALSE(gray.NeedsReopen());
    system.readyEvents = 0;
    EXPECT_EQ(gray.Read(&byte, 1, 50), 0);
}

TEST(LinuxSerialDevice, TheBlackCableSetsOnlyTheLineThatChangesAndReadsTheOthers)
{
    CFakeSerialSystem system;
    CBlackCableBackend black(std::make_unique<CLinuxSerialDevice>(system, "/dev/ttyS0"), 0x378);
    std::string error;
    ASSERT_TRUE(black.Open(error)) << error;
    system.calls.clear();
    black.WriteByte(0x378, 2); // pull the red wire (RTS)
    EXPECT_EQ(system.modemBits & (TIOCM_RTS | TIOCM_DTR), TIOCM_DTR);
    black.WriteByte(0x378, 2); // no change, no request
    system.modemBits = TIOCM_DSR;
    EXPECT_EQ(black.ReadByte(0x379), CBlackCableBackend::STATUS_WHITE);
    EXPECT_EQ(system.calls, (std::vector<std::string>{"set lines", "get lines"}));
    // A request that fails (an adapter pulled out) reads as idle lines from then on.
    system.ioctlErrors[TIOCMGET] = EIO;
    EXPECT_EQ(black.ReadByte(0x379), CBlackCableBackend::STATUS_RED | CBlackCableBackend::STATUS_WHITE);
    EXPECT_TRUE(black.NeedsReopen());
}

TEST(LinuxSerialDevice, ListsTheUartsThereAreAndTheAdaptersInNaturalOrder)
{
    CFakeSerialSystem system;
    system.dev = {"ttyS10", "ttyS1", "ttyS0", "ttyUSB10", "ttyUSB2", "ttyACM0", "tty1", "ttySx", "null"};
    system.files = {{"/sys/class/tty/ttyS0/type", "4\n"}, {"/sys/class/tty/ttyS1/type", "0\n"},
                    {"/sys/class/tty/ttyS10/type", "4\n"}};
    EXPECT_EQ(CLinuxSerialDevice::ListPorts(system),
              (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS10", "/dev/ttyUSB2", "/dev/ttyUSB10"}));
}
