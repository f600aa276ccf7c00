#include "port/GrayCable.h"
#include "port/Win32SerialDevice.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The communications calls, recorded; the port's lines follow what is set.
class CFakeCommSystem final : public IWin32CommSystem {
public:
    uint32_t openError = 0;
    bool settingsRefused = false;
    std::string openedPath;
    CommSettings settings;
    std::vector<uint32_t> escapes;
    std::vector<std::string> ports;

    uint32_t LastErrorCode() override { return openError; }
    Handle OpenComm(const std::string& path) override
    {
        openedPath = path;
        return openError ? NO_HANDLE : 9;
    }
    void CloseComm(Handle) override {}
    bool SetCommSettings(Handle, const CommSettings& given) override
    {
        settings = given;
        return !settingsRefused;
    }
    bool SetCommWaits(Handle, uint32_t, uint32_t) override { return true; }
    bool EscapeComm(Handle, Escape function) override
    {
        escapes.push_back(function);
        return true;
    }
    bool GetModemStatus(Handle, uint32_t& status) override
    {
        status = MODEM_CTS_ON;
        return true;
    }
    bool ReadComm(Handle, uint8_t*, uint32_t, uint32_t& done) override
    {
        done = 0;
        return false;
    }
    bool WriteComm(Handle, const uint8_t*, uint32_t size, uint32_t& done) override
    {
        done = size;
        return true;
    }
    bool PurgeBoth(Handle) override { return true; }
    std::vector<std::string> ListCommPorts() override { return ports; }
};

} // namespace

TEST(Win32SerialDevice, NamesOpensAndErrorsOfTheComPorts)
{
    const struct {
        const char* name;
        uint32_t error;
        bool refused;
        const char* path;
        const char* said; // empty: it opens
    } cases[] = {
        {"COM12", 0, false, "\\\\.\\COM12", ""},
        {"com3", 0, false, "\\\\.\\COM3", ""},
        {"\\\\.\\COM7", 0, false, "\\\\.\\COM7", ""},
        {"COM4", CWin32SerialDevice::SYSTEM_ERROR_FILE_NOT_FOUND, false, "\\\\.\\COM4", "There is no serial port COM4"},
        {"COM4", CWin32SerialDevice::SYSTEM_ERROR_ACCESS_DENIED, false, "\\\\.\\COM4", "in use by another program"},
        {"COM4", 1167, false, "\\\\.\\COM4", "could not be opened (error 1167)"},
        {"NUL", 0, true, "NUL", "NUL is not a serial port"},
    };
    for (const auto& c : cases) {
        CFakeCommSystem system;
        system.openError = c.error;
        system.settingsRefused = c.refused;
        CWin32SerialDevice device(system, c.name);
        std::string error;
        EXPECT_EQ(device.Open(SerialMode::Bytes9600, error), *c.said == '\0') << c.name << error;
        EXPECT_EQ(system.openedPath, c.path);
        EXPECT_NE(error.find(c.said), std::string::npos) << error;
        if (*c.said == '\0') {
            EXPECT_EQ(system.settings.baudRate, 9600u);
            EXPECT_FALSE(system.settings.bFlowControl);
            EXPECT_TRUE(system.settings.bDtrOn && system.settings.bRtsOn);
        }
    }
}

TEST(Win32SerialDevice, LinesChangeOneCallEachAndAFailedReadFailsTheCable)
{
    CFakeCommSystem system;
    system.ports = {"COM10", "COM2", "COM1", "LPT1"};
    EXPECT_EQ(CWin32SerialDevice::ListPorts(system), (std::vector<std::string>{"COM1", "COM2", "COM10"}));
    auto owned = std::make_unique<CWin32SerialDevice>(system, "COM1");
    CWin32SerialDevice& device = *owned;
    std::string error;
    ASSERT_TRUE(device.Open(SerialMode::ModemLines, error));
    EXPECT_TRUE(device.SetLines(false, true));
    EXPECT_TRUE(device.SetLines(false, false));
    EXPECT_EQ(system.escapes, (std::vector<uint32_t>{IWin32CommSystem::CLR_RTS, IWin32CommSystem::CLR_DTR}));
    bool cts = false;
    bool dsr = true;
    EXPECT_TRUE(device.GetLines(cts, dsr));
    EXPECT_TRUE(cts);
    EXPECT_FALSE(dsr);

    CGrayCable gray(std::move(owned));
    ASSERT_TRUE(gray.Open(error));
    const uint8_t packet[] = {0x09, 0x68, 0x00, 0x00};
    EXPECT_EQ(gray.Write(packet, sizeof packet, 50), 4);
    uint8_t byte = 0;
    EXPECT_EQ(gray.Read(&byte, 1, 50), -1);
    EXPECT_TRUE(gray.NeedsReopen());
}
