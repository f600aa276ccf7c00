#include "port/UsbCable.h"
#include "port/Win32UsbBus.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <memory>

namespace {

using Places = std::vector<std::string>;

// A bus of scripted cables: each IN transfer hands out the next scripted
// answer, and what the cable is asked is recorded.
struct UsbScript {
    struct In {
        UsbResult result;
        std::vector<uint8_t> bytes;
    };
    std::vector<UsbCableEntry> entries;
    std::string problem;
    std::string openError;
    size_t maxPacket = 32;
    std::deque<In> ins;
    std::vector<size_t> inSizes;
    std::vector<std::vector<uint8_t>> outs;
    std::vector<std::string> opened;
    int resets = 0;
    int closes = 0;
};

class CScriptedDevice final : public IUsbDevice {
public:
    CScriptedDevice(UsbScript& script, std::string place) : m_script(script), m_strPlace(std::move(place)) {}
    bool Open(std::string& error) override
    {
        error = m_script.openError;
        if (error.empty())
            m_script.opened.push_back(m_strPlace);
        return error.empty();
    }
    void Close() override { ++m_script.closes; }
    size_t GetMaxPacketSize() const override { return m_script.maxPacket; }
    UsbResult BulkOut(const uint8_t* data, size_t size, uint32_t, size_t& done) override
    {
        m_script.outs.emplace_back(data, data + size);
        done = size;
        return UsbResult::Done;
    }
    UsbResult BulkIn(uint8_t* data, size_t size, uint32_t, size_t& done) override
    {
        m_script.inSizes.push_back(size);
        done = 0;
        if (m_script.ins.empty())
            return UsbResult::TimedOut;
        const UsbScript::In in = m_script.ins.front();
        m_script.ins.pop_front();
        for (uint8_t byte : in.bytes)
            data[done++] = byte;
        return in.result;
    }
    void Reset() override { ++m_script.resets; }

private:
    UsbScript& m_script;
    std::string m_strPlace;
};

class CScriptedBus final : public IUsbBus {
public:
    explicit CScriptedBus(UsbScript& script) : m_script(script) {}
    std::vector<UsbCableEntry> ListCables(std::string& problem) override
    {
        problem = m_script.problem;
        return m_script.entries;
    }
    std::unique_ptr<IUsbDevice> MakeDevice(const UsbCableEntry& entry) override
    {
        return std::make_unique<CScriptedDevice>(m_script, entry.strPlace);
    }

private:
    UsbScript& m_script;
};

UsbCableEntry Entry(const std::string& place, uint16_t product = USB_PRODUCT_LINK_CABLE)
{
    UsbCableEntry entry;
    entry.strPlace = place;
    entry.wProduct = product;
    entry.wVersion = 0x0103;
    return entry;
}

} // namespace

TEST(UsbCable, WhichCableOpensAndWhatItSaysWhenNone)
{
    const struct {
        std::vector<UsbCableEntry> entries;
        std::string problem;
        std::string place;
        std::string opened; // empty: the error below
        std::string error;
    } rows[] = {
        {{Entry("003:007"), Entry("001:002")}, "", "", "003:007", ""},
        {{Entry("003:007"), Entry("001:002")}, "", "2", "001:002", ""},
        {{Entry("003:007"), Entry("001:002")}, "", "3:7", "003:007", ""},
        {{Entry("003:007")}, "", "3", "", ProgramText(IDS_USB_NOT_FOUND, {"3"})},
        {{Entry("003:007")}, "", "1:7", "", ProgramText(IDS_USB_NOT_FOUND, {"1:7"})},
        // A damaged cable is passed over for a good one, and named when it is all there is.
        {{Entry("001:001", USB_PRODUCT_DAMAGED_EEPROM), Entry("001:004")}, "", "", "001:004", ""},
        {{Entry("001:001", USB_PRODUCT_DAMAGED_EEPROM)}, "", "", "", ProgramText(IDS_USB_DAMAGED_EEPROM, {"001:001"})},
        {{}, "", "", "", ProgramText(IDS_USB_NONE)},
        {{}, "no usbfs", "", "", ProgramText(IDS_USB_UNAVAILABLE, {"no usbfs"})},
    };
    for (const auto& row : rows) {
        UsbScript script;
        script.entries = row.entries;
        script.problem = row.problem;
        CUsbCable cable(std::make_unique<CScriptedBus>(script), row.place);
        std::string error;
        EXPECT_EQ(cable.Open(error), !row.opened.empty()) << row.place;
        EXPECT_EQ(error, row.error) << row.place;
        EXPECT_EQ(script.opened, row.opened.empty() ? Places{} : Places{row.opened});
    }
    // What the listing knows against a cable, and what opening it says, reach the user as they are.
    UsbScript script;
    script.entries = {Entry("001:002")};
    script.entries[0].strProblem = "no driver";
    CUsbCable cable(std::make_unique<CScriptedBus>(script), "");
    std::string error;
    EXPECT_FALSE(cable.Open(error));
    EXPECT_EQ(error, "no driver");
    script.entries[0].strProblem.clear();
    script.openError = "in use";
    EXPECT_FALSE(cable.Open(error));
    EXPECT_EQ(error, "in use");
    EXPECT_EQ(UsbVersionText(0x0208), "2.08");
    EXPECT_EQ(UsbVersionText(0x0103), "1.03");
}

// Every read asks for a whole packet of the descriptor's size; what the link
// does not take at once waits for its next read; an empty answer is no failure.
TEST(UsbCable, ReadsAskForWholePacketsAndKeepTheRest)
{
    for (size_t maxPacket : {size_t{32}, size_t{64}, size_t{0}}) {
        UsbScript script;
        script.entries = {Entry("001:002")};
        script.maxPacket = maxPacket;
        script.ins = {{UsbResult::Done, {1, 2, 3, 4, 5}}, {UsbResult::Done, {}}, {UsbResult::Done, {6}}};
        CUsbCable cable(std::make_unique<CScriptedBus>(script), "");
        std::string error;
        ASSERT_TRUE(cable.Open(error));
        uint8_t bytes[8] = {};
        EXPECT_EQ(cable.Read(bytes, 2, 50), 2);
        EXPECT_EQ(cable.Read(bytes + 2, 8, 50), 3);
        EXPECT_EQ(cable.Read(bytes, 8, 50), 0); // the empty packet
        EXPECT_EQ(cable.Read(bytes + 5, 1, 50), 1);
        EXPECT_EQ(cable.Read(bytes, 8, 50), 0); // nothing within the wait
        EXPECT_EQ(std::vector<uint8_t>(bytes + 2, bytes + 6), (std::vector<uint8_t>{3, 4, 5, 6}));
        EXPECT_EQ(script.inSizes, std::vector<size_t>(4, maxPacket == 0 ? 32 : maxPacket)) << maxPacket;
        EXPECT_FALSE(cable.NeedsReopen());
        // A packet goes out in one transfer.
        const uint8_t packet[40] = {8, 9};
        EXPECT_EQ(cable.Write(packet, sizeof packet, 50), 40);
        EXPECT_EQ(script.outs.size(), 1u);
        EXPECT_EQ(cable.GetInTransfers(), 4u);
    }
}

// A cable pulled out fails at once and says so; one that failed otherwise
// is reset before it is opened again; a purge reads away what was left.
TEST(UsbCable, FailuresResetOrReportTheCable)
{
    for (UsbResult failure : {UsbResult::Gone, UsbResult::Failed}) {
        UsbScript script;
        script.entries = {Entry("001:002")};
        CUsbCable cable(std::make_unique<CScriptedBus>(script), "");
        std::string error;
        ASSERT_TRUE(cable.Open(error));
        script.ins = {{UsbResult::Done, {7, 7}}, {UsbResult::Done, {7}}, {UsbResult::TimedOut, {}}};
        cable.Purge();
        EXPECT_TRUE(script.ins.empty());
        script.ins = {{failure, {}}};
        uint8_t byte = 0;
        EXPECT_EQ(cable.Read(&byte, 1, 50), -1);
        EXPECT_EQ(cable.Write(&byte, 1, 50), -1); // refused until opened again
        EXPECT_TRUE(cable.NeedsReopen());
        EXPECT_EQ(cable.DescribeFailure(),
                  failure == UsbResult::Gone ? ProgramText(IDS_USB_UNPLUGGED) : std::string());
        ASSERT_TRUE(cable.Open(error));
        EXPECT_EQ(script.resets, failure == UsbResult::Failed ? 1 : 0);
        EXPECT_EQ(script.opened.size(), 2u);
        EXPECT_FALSE(cable.NeedsReopen());
        EXPECT_TRUE(cable.DescribeFailure().empty());
    }
}

namespace {

// SetupAPI's and WinUSB's calls, scripted.
class CFakeWin32Usb final : public IWin32UsbSystem {
public:
    std::vector<DeviceRecord> devices;
    bool bWinUsb = true;
    uint32_t openError = 0;
    uint32_t transferError = 0;
    std::vector<PipeRecord> pipes{{USB_ENDPOINT_IN, 64, true}, {USB_ENDPOINT_OUT, 64, true}};
    std::vector<uint32_t> timeouts;
    std::vector<uint8_t> resetPipes;
    int frees = 0;
    int closes = 0;

    uint32_t LastErrorCode() override { return m_dwError; }
    std::vector<DeviceRecord> ListUsbDevices() override { return devices; }
    std::string FindInterfacePath(const std::string& guid, const std::string& instanceId) override
    {
        return guid == "{G}" ? "\\\\?\\" + instanceId + "#{G}" : "";
    }
    bool LoadWinUsb() override { return bWinUsb; }
    Handle OpenDevice(const std::string& path) override
    {
        m_dwError = openError;
        openedPath = path;
        return openError ? NO_HANDLE : 5;
    }
    void CloseDevice(Handle) override { ++closes; }
    Handle InitializeWinUsb(Handle) override { return 6; }
    void FreeWinUsb(Handle) override { ++frees; }
    bool QueryPipes(Handle, std::vector<PipeRecord>& found) override
    {
        found = pipes;
        return true;
    }
    bool SetPipeTimeout(Handle, uint8_t, uint32_t ms) override
    {
        timeouts.push_back(ms);
        return true;
    }
    bool ReadPipe(Handle, uint8_t, uint8_t* data, uint32_t, uint32_t& done) override
    {
        m_dwError = transferError;
        done = transferError ? 0 : 1;
        data[0] = 0x42;
        return transferError == 0;
    }
    bool WritePipe(Handle, uint8_t, const uint8_t*, uint32_t size, uint32_t& done) override
    {
        m_dwError = transferError;
        done = transferError ? 0 : size;
        return transferError == 0;
    }
    bool ResetPipe(Handle, uint8_t pipe) override
    {
        resetPipes.push_back(pipe);
        return true;
    }

    std::string openedPath;

private:
    uint32_t m_dwError = 0;
};

IWin32UsbSystem::DeviceRecord Device(const std::string& id, const std::string& hardwareId, const std::string& service,
                                     const std::string& location)
{
    // Windows lists the id with the release number first, then without it.
    const std::vector<std::string> ids{hardwareId, hardwareId.substr(0, hardwareId.find("&REV"))};
    return {id, ids, service, location, service.empty() ? std::vector<std::string>{} : std::vector<std::string>{"{G}"}};
}

} // namespace

// Which devices are cables, where they are and what driver they need: the
// listing and opening of the Windows code, down to each call.
TEST(Win32UsbBus, ListsTheCablesWithTheirDriverAndOpensThemThroughWinUsb)
{
    CFakeWin32Usb system;
    system.devices = {
        Device("USB\\VID_046D&PID_C52B\\1", "USB\\VID_046D&PID_C52B&REV_1201", "HidUsb", "Port_#0001.Hub_#0001"),
        Device("USB\\VID_0451&PID_E001\\5&2", "USB\\Vid_0451&Pid_E001&Rev_0208", "WinUSB", "Port_#0004.Hub_#0002"),
        Device("USB\\VID_0451&PID_E001\\5&3", "USB\\VID_0451&PID_E001&REV_0103", "", "Port_#0001.Hub_#0002"),
        Device("USB\\VID_0451&PID_E001\\5&4", "USB\\VID_0451&PID_E001&REV_0103", "libusb0", "Port_#0002.Hub_#0002"),
        Device("USB\\VID_0451&PID_3410\\5&5", "USB\\VID_0451&PID_3410&REV_0100", "", "Port_#0003.Hub_#0002"),
    };
    CWin32UsbBus bus(system);
    std::string problem;
    std::vector<UsbCableEntry> cables = bus.ListCables(problem);
    ASSERT_EQ(cables.size(), 4u);
    EXPECT_EQ(cables[0].strPlace, "002:001");
    EXPECT_EQ(cables[0].strProblem, ProgramText(IDS_USB_NO_DRIVER, {"002:001"}));
    EXPECT_EQ(cables[1].strProblem, ProgramText(IDS_USB_OTHER_DRIVER, {"002:002", "libusb0"}));
    EXPECT_EQ(cables[2].wProduct, USB_PRODUCT_DAMAGED_EEPROM);
    EXPECT_EQ(cables[3].strPlace, "002:004");
    EXPECT_EQ(cables[3].wVersion, 0x0208);
    EXPECT_TRUE(cables[3].strProblem.empty());

    // Opened: the interface's path, the IN pipe's packet size, time-outs set
    // only when they change, the errors a transfer can end with.
    CUsbCable cable(std::make_unique<CWin32UsbBus>(system), "4");
    std::string error;
    ASSERT_TRUE(cable.Open(error)) << error;
    EXPECT_EQ(system.openedPath, "\\\\?\\USB\\VID_0451&PID_E001\\5&2#{G}");
    uint8_t bytes[64];
    EXPECT_EQ(cable.Read(bytes, sizeof bytes, 50), 1);
    EXPECT_EQ(cable.Read(bytes, sizeof bytes, 50), 1);
    EXPECT_EQ(system.timeouts, std::vector<uint32_t>{50});
    system.transferError = IWin32UsbSystem::SYSTEM_ERROR_SEM_TIMEOUT;
    EXPECT_EQ(cable.Read(bytes, sizeof bytes, 50), 0);
    system.transferError = 31; // a stall: reset at the reopening
    EXPECT_EQ(cable.Write(bytes, 4, 50), -1);
    EXPECT_TRUE(cable.DescribeFailure().empty());
    system.transferError = 0;
    ASSERT_TRUE(cable.Open(error));
    EXPECT_EQ(system.resetPipes, (std::vector<uint8_t>{USB_ENDPOINT_IN, USB_ENDPOINT_OUT}));
    system.transferError = IWin32UsbSystem::SYSTEM_ERROR_DEVICE_NOT_CONNECTED;
    EXPECT_EQ(cable.Read(bytes, sizeof bytes, 50), -1);
    EXPECT_EQ(cable.DescribeFailure(), ProgramText(IDS_USB_UNPLUGGED));
    cable.Close();
    EXPECT_EQ(system.frees, 2);
    EXPECT_EQ(system.closes, 2);

    // Opening refused: held by another program, no WinUSB, no driver, a damaged cable.
    system.openError = IWin32UsbSystem::SYSTEM_ERROR_ACCESS_DENIED;
    EXPECT_FALSE(cable.Open(error));
    EXPECT_EQ(error, ProgramText(IDS_USB_BUSY, {"002:004"}));
    system.bWinUsb = false;
    EXPECT_FALSE(cable.Open(error));
    EXPECT_EQ(error, ProgramText(IDS_USB_NO_WINUSB));
    for (const char* place : {"1", "3"}) {
        CUsbCable other(std::make_unique<CWin32UsbBus>(system), place);
        EXPECT_FALSE(other.Open(error));
        EXPECT_EQ(error, place[0] == '1' ? ProgramText(IDS_USB_NO_DRIVER, {"002:001"})
                                         : ProgramText(IDS_USB_DAMAGED_EEPROM, {"002:003"}));
    }
}

#if defined(_WIN32)
// The real SetupAPI and WinUSB calls on a Windows without the cable (Wine
// in the tests): no cable is listed, and opening says there is none.
TEST(Win32UsbBus, WithoutACableTheSystemSaysThereIsNone)
{
    std::string problem;
    if (!CWin32UsbBus(RealWin32UsbSystem()).ListCables(problem).empty())
        GTEST_SKIP() << "a USB link cable is plugged in";
    CUsbCable cable(std::make_unique<CWin32UsbBus>(RealWin32UsbSystem()), "");
    std::string error;
    EXPECT_FALSE(cable.Open(error));
    EXPECT_EQ(error, ProgramText(IDS_USB_NONE));
    std::printf("winusb.dll %s\n", RealWin32UsbSystem().LoadWinUsb() ? "loads" : "does not load");
}
#endif
