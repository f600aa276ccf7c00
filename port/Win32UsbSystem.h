#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The Windows calls behind the USB link cable, SetupAPI's listing and
// WinUSB's transfers, behind one seam so that the cable's Windows code
// (which device is a cable, which driver it has, how errors read) runs in
// tests on any system. Strings are UTF-8. Calls that fail return NO_HANDLE
// or false and leave the system's error code for LastErrorCode().
class IWin32UsbSystem {
public:
    using Handle = std::uintptr_t;
    static constexpr Handle NO_HANDLE = 0;

    // The error codes the cable tells apart.
    static constexpr uint32_t SYSTEM_ERROR_FILE_NOT_FOUND = 2;
    static constexpr uint32_t SYSTEM_ERROR_ACCESS_DENIED = 5;
    static constexpr uint32_t SYSTEM_ERROR_BAD_COMMAND = 22;
    static constexpr uint32_t SYSTEM_ERROR_SEM_TIMEOUT = 121;
    static constexpr uint32_t SYSTEM_ERROR_NO_SUCH_DEVICE = 433;
    static constexpr uint32_t SYSTEM_ERROR_DEVICE_NOT_CONNECTED = 1167;

    // One USB device present, as SetupAPI tells it.
    struct DeviceRecord {
        std::string strInstanceId;            // USB\VID_0451&PID_E001\5&2A0C...
        std::vector<std::string> hardwareIds; // USB\VID_0451&PID_E001&REV_0208, ...
        std::string strService;               // the driver bound: WinUSB; empty for none
        std::string strLocation;              // Port_#0002.Hub_#0003
        std::vector<std::string> interfaceGuids; // what its driver's INF registered
    };
    struct PipeRecord {
        uint8_t id = 0;
        uint16_t wMaxPacket = 0;
        bool bBulk = false;
    };

    virtual ~IWin32UsbSystem() = default;

    virtual uint32_t LastErrorCode() = 0;
    virtual std::vector<DeviceRecord> ListUsbDevices() = 0;
    // The path of the device interface `guid` of the device `instanceId`,
    // empty when it has none.
    virtual std::string FindInterfacePath(const std::string& guid, const std::string& instanceId) = 0;
    // Loads winusb.dll and its functions, once; false where Windows lacks it.
    virtual bool LoadWinUsb() = 0;
    // CreateFile for reading and writing, overlapped as WinUSB wants.
    virtual Handle OpenDevice(const std::string& path) = 0;
    virtual void CloseDevice(Handle file) = 0;
    virtual Handle InitializeWinUsb(Handle file) = 0;
    virtual void FreeWinUsb(Handle usb) = 0;
    // The pipes of the first interface.
    virtual bool QueryPipes(Handle usb, std::vector<PipeRecord>& pipes) = 0;
    virtual bool SetPipeTimeout(Handle usb, uint8_t pipe, uint32_t timeoutMs) = 0;
    virtual bool ReadPipe(Handle usb, uint8_t pipe, uint8_t* data, uint32_t size, uint32_t& done) = 0;
    virtual bool WritePipe(Handle usb, uint8_t pipe, const uint8_t* data, uint32_t size, uint32_t& done) = 0;
    virtual bool ResetPipe(Handle usb, uint8_t pipe) = 0;
};

#if defined(_WIN32)
// The running system's own calls.
IWin32UsbSystem& RealWin32UsbSystem();
#endif
