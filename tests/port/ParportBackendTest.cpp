#include "port/LinuxPortBackend.h"
#include "port/ParportBackend.h"
#include "port/RawPortBackend.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <map>

namespace {

// A system with a fake /proc and /dev tree that records every call.
class CFakeSystem final : public ILinuxSystem {
public:
    std::map<std::string, std::vector<std::string>> dirs;
    std::map<std::string, std::string> files;
    std::map<std::string, int> openErrors; // path -> errno
    std::map<unsigned long, int> ioctlErrors;
    std::string group = "lp";
    bool root = false;
    int ioPermError = 0;
    uint8_t statusValue = 0x78;

    std::vector<std::string> calls;
    std::map<uint16_t, uint8_t> outs;
    int openFds = 0;

    int Open(const std::string& path, int flags) override
    {
        calls.push_back("open " + path + ((flags & O_RDWR) ? " rw" : ""));
        if (auto it = openErrors.find(path); it != openErrors.end())
            return -it->second;
        ++openFds;
        return 7;
    }
    int Ioctl(int, unsigned long request, void* arg) override
    {
        calls.push_back(Name(request));
        if (auto it = ioctlErrors.find(request); it != ioctlErrors.end())
            return -it->second;
        if (request == PPRSTATUS)
            *static_cast<unsigned char*>(arg) = statusValue;
        if (request == PPWDATA)
            lastData = *static_cast<unsigned char*>(arg);
        return 0;
    }
    void Close(int) override
    {
        calls.push_back("close");
        --openFds;
    }
    std::vector<std::string> ListDirectory(const std::string& path) override { return dirs[path]; }
    std::optional<std::string> ReadTextFile(const std::string& path) override
    {
        if (auto it = files.find(path); it != files.end())
            return it->second;
        return std::nullopt;
    }
    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    std::string GroupOf(const std::string&) override { return group; }
    bool IsRoot() override { return root; }
    int IoPerm(unsigned long from, unsigned long count, bool enable) override
    {
        calls.push_back("ioperm " + std::to_string(from) + " " + std::to_string(count) +
                        (enable ? " on" : " off"));
        return ioPermError ? -ioPermError : 0;
    }
    uint8_t InByte(uint16_t port) override
    {
        calls.push_back("in " + std::to_string(port));
        return 0x5A;
    }
    void OutByte(uint16_t port, uint8_t value) override { outs[port] = value; }

    unsigned char lastData = 0;

    static std::string Name(unsigned long request)
    {
        if (request == PPEXCL) return "PPEXCL";
        if (request == PPCLAIM) return "PPCLAIM";
        if (request == PPRELEASE) return "PPRELEASE";
        if (request == PPRSTATUS) return "PPRSTATUS";
        if (request == PPWDATA) return "PPWDATA";
        return "ioctl?";
    }

    void AddPort(const std::string& name, const std::string& baseAddr)
    {
        dirs["/fake/proc/sys/dev/parport"].push_back(name);
        files["/fake/proc/sys/dev/parport/" + name + "/base-addr"] = baseAddr;
    }
};

} // namespace

TEST(ParportBackend, FindsTheDeviceByItsPublishedBaseAddress)
{
    CFakeSystem sys;
    sys.dirs["/fake/proc/sys/dev/parport"].push_back("default");
    sys.AddPort("parport0", "632\t1656\n"); // 0x278
    sys.AddPort("parport1", "888\t1912\n"); // 0x378
    sys.AddPort("parport2", "garbage\n");

    EXPECT_EQ(CParportBackend::FindDevice(sys, 0x378, "/fake/proc", "/dev"), "/dev/parport1");
    EXPECT_EQ(CParportBackend::FindDevice(sys, 0x278, "/fake/proc", "/dev"), "/dev/parport0");
    EXPECT_FALSE(CParportBackend::FindDevice(sys, 0x3BC, "/fake/proc", "/dev").has_value());
}

TEST(ParportBackend, ClaimsExclusivelyAndReleasesOnClose)
{
    CFakeSystem sys;
    sys.AddPort("parport0", "888\t1912\n");
    CParportBackend port(sys, 0x378, "/fake/proc", "/dev");
    std::string error;
    ASSERT_TRUE(port.Open(error)) << error;

    port.WriteByte(0x378, 2);
    EXPECT_EQ(sys.lastData, 2);
    EXPECT_EQ(port.ReadByte(0x379), 0x78);
    port.Close();
    port.Close();

    const std::vector<std::string> expected = {"open /dev/parport0 rw", "PPEXCL", "PPCLAIM", "PPWDATA",
                                               "PPRSTATUS", "PPRELEASE", "close"};
    EXPECT_EQ(sys.calls, expected);
    EXPECT_EQ(sys.openFds, 0);
}

TEST(ParportBackend, ErrorsSayWhatTheUserCanDo)
{
    {
        CFakeSystem sys;
        CParportBackend port(sys, 0x378, "/fake/proc", "/dev");
        std::string error;
        EXPECT_FALSE(port.Open(error));
        EXPECT_NE(error.find("0x378"), std::string::npos) << error;
        EXPECT_NE(error.find("modprobe ppdev"), std::string::npos) << error;
    }
    {
        CFakeSystem sys;
        sys.AddPort("parport0", "888\t1912\n");
        sys.openErrors["/dev/parport0"] = EACCES;
        CParportBackend port(sys, 0x378, "/fake/proc", "/dev");
        std::string error;
        EXPECT_FALSE(port.Open(error));
        EXPECT_NE(error.find("group 'lp'"), std::string::npos) << error;
    }
    {
        CFakeSystem sys;
        sys.AddPort("parport0", "888\t1912\n");
        sys.ioctlErrors[PPCLAIM] = EBUSY;
        CParportBackend port(sys, 0x378, "/fake/proc", "/dev");
        std::string error;
        EXPECT_FALSE(port.Open(error));
        EXPECT_NE(error.find("printer driver"), std::string::npos) << error;
        EXPECT_EQ(sys.openFds, 0) << "a refused claim must not leak the descriptor";
        EXPECT_EQ(port.ReadByte(0x379), 0);
    }
}

TEST(ParportBackend, AFailingStatusRequestReadsAsADeadLine)
{
    CFakeSystem sys;
    sys.AddPort("parport0", "888\t1912\n");
    sys.ioctlErrors[PPRSTATUS] = EIO;
    CParportBackend port(sys, 0x378, "/fake/proc", "/dev");
    std::string error;
    ASSERT_TRUE(port.Open(error));
    EXPECT_EQ(port.ReadByte(0x379), 0);
}

TEST(RawPortBackend, OnlyRootGetsTheThreeRegisters)
{
    CFakeSystem sys;
    {
        CRawPortBackend raw(sys, 0x278);
        std::string error;
        EXPECT_FALSE(raw.Open(error));
        EXPECT_NE(error.find("root"), std::string::npos);
        EXPECT_TRUE(sys.calls.empty());
    }
    sys.root = true;
    {
        CRawPortBackend raw(sys, 0x278);
        std::string error;
        ASSERT_TRUE(raw.Open(error));
        raw.WriteByte(0x278, 3);
        EXPECT_EQ(raw.ReadByte(0x279), 0x5A);
        EXPECT_EQ(raw.ReadByte(0x300), 0) << "outside the granted range";
        EXPECT_EQ(sys.outs[0x278], 3);
    }
    const std::vector<std::string> expected = {"ioperm 632 3 on", "in 633", "ioperm 632 3 off"};
    EXPECT_EQ(sys.calls, expected);
}

TEST(LinuxPortBackend, FallsBackToRawAccessAndReportsTheDeviceProblemOtherwise)
{
    CFakeSystem sys;
    sys.AddPort("parport0", "888\t1912\n");
    sys.ioctlErrors[PPCLAIM] = EBUSY;
    {
        CLinuxPortBackend port(sys, 0x378, "/fake/proc", "/dev");
        std::string error;
        EXPECT_FALSE(port.Open(error));
        EXPECT_NE(error.find("printer driver"), std::string::npos) << error;
    }
    sys.root = true;
    CLinuxPortBackend port(sys, 0x378, "/fake/proc", "/dev");
    std::string error;
    ASSERT_TRUE(port.Open(error));
    EXPECT_EQ(port.GetMethod(), "raw");
    EXPECT_EQ(port.ReadByte(0x379), 0x5A);
}
