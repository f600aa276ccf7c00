#include "port/Win32UsbSystem.h"

#include "port/UsbDevice.h"
#include "port/Win32UsbBus.h"
#include "text/Utf16Text.h"

#include <windows.h>

#include <setupapi.h>
#include <winusb.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

// winusb.dll is loaded when first needed, so that the program starts on a
// Windows XP that lacks it and says what is missing.
using InitializeFunction = BOOL(WINAPI*)(HANDLE, WINUSB_INTERFACE_HANDLE*);
using FreeFunction = BOOL(WINAPI*)(WINUSB_INTERFACE_HANDLE);
using QueryInterfaceFunction = BOOL(WINAPI*)(WINUSB_INTERFACE_HANDLE, UCHAR, PUSB_INTERFACE_DESCRIPTOR);
using QueryPipeFunction = BOOL(WINAPI*)(WINUSB_INTERFACE_HANDLE, UCHAR, UCHAR, PWINUSB_PIPE_INFORMATION);
using SetPipePolicyFunction = BOOL(WINAPI*)(WINUSB_INTERFACE_HANDLE, UCHAR, ULONG, ULONG, PVOID);
using PipeFunction = BOOL(WINAPI*)(WINUSB_INTERFACE_HANDLE, UCHAR, PUCHAR, ULONG, PULONG, LPOVERLAPPED);
using ResetPipeFunction = BOOL(WINAPI*)(WINUSB_INTERFACE_HANDLE, UCHAR);

template <typename Function>
bool Take(HMODULE module, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

std::string MultiText(const std::vector<wchar_t>& buffer, std::vector<std::string>& texts)
{
    for (const wchar_t* p = buffer.data(); p < buffer.data() + buffer.size() && *p != 0; p += std::wcslen(p) + 1)
        texts.push_back(Utf16ToUtf8(std::wstring_view(p)));
    return texts.empty() ? std::string() : texts.front();
}

// A registry property of the device as wide text (REG_SZ or REG_MULTI_SZ).
std::vector<wchar_t> Property(HDEVINFO set, SP_DEVINFO_DATA& data, DWORD property)
{
    DWORD needed = 0;
    SetupDiGetDeviceRegistryPropertyW(set, &data, property, nullptr, nullptr, 0, &needed);
    std::vector<wchar_t> buffer(needed / sizeof(wchar_t) + 2, 0);
    if (needed == 0 || !SetupDiGetDeviceRegistryPropertyW(set, &data, property, nullptr,
                                                          reinterpret_cast<BYTE*>(buffer.data()),
                                                          static_cast<DWORD>(buffer.size() * sizeof(wchar_t)), nullptr))
        return std::vector<wchar_t>(2, 0);
    return buffer;
}

std::string InstanceId(HDEVINFO set, SP_DEVINFO_DATA& data)
{
    wchar_t id[512] = {};
    if (!SetupDiGetDeviceInstanceIdW(set, &data, id, 511, nullptr))
        return {};
    return Utf16ToUtf8(std::wstring_view(id));
}

// The interface GUIDs the device's INF put in its key: DeviceInterfaceGUIDs
// (several), or DeviceInterfaceGUID (one) as some installers write it.
std::vector<std::string> InterfaceGuids(HDEVINFO set, SP_DEVINFO_DATA& data)
{
    std::vector<std::string> guids;
    HKEY key = SetupDiOpenDevRegKey(set, &data, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE)
        return guids;
    for (const wchar_t* name : {L"DeviceInterfaceGUIDs", L"DeviceInterfaceGUID"}) {
        DWORD bytes = 0;
        if (RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &bytes) != ERROR_SUCCESS || bytes == 0)
            continue;
        std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 2, 0);
        auto* bytesOut = reinterpret_cast<BYTE*>(buffer.data());
        if (RegQueryValueExW(key, name, nullptr, nullptr, bytesOut, &bytes) == ERROR_SUCCESS)
            MultiText(buffer, guids);
        if (!guids.empty())
            break;
    }
    RegCloseKey(key);
    return guids;
}

bool ParseGuid(const std::string& text, GUID& guid)
{
    unsigned long data1 = 0;
    unsigned int part[10] = {};
    if (std::sscanf(text.c_str(), "{%8lx-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x}", &data1, &part[0], &part[1], &part[2],
                    &part[3], &part[4], &part[5], &part[6], &part[7], &part[8], &part[9]) != 11)
        return false;
    guid.Data1 = data1;
    guid.Data2 = static_cast<unsigned short>(part[0]);
    guid.Data3 = static_cast<unsigned short>(part[1]);
    for (int i = 0; i < 8; ++i)
        guid.Data4[i] = static_cast<unsigned char>(part[2 + i]);
    return true;
}

class CRealWin32UsbSystem final : public IWin32UsbSystem {
public:
    uint32_t LastErrorCode() override { return GetLastError(); }

    std::vector<DeviceRecord> ListUsbDevices() override
    {
        std::vector<DeviceRecord> records;
        HDEVINFO set = SetupDiGetClassDevsW(nullptr, L"USB", nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT);
        if (set == INVALID_HANDLE_VALUE)
            return records;
        SP_DEVINFO_DATA data{};
        data.cbSize = sizeof data;
        for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &data); ++i) {
            DeviceRecord record;
            record.strInstanceId = InstanceId(set, data);
            MultiText(Property(set, data, SPDRP_HARDWAREID), record.hardwareIds);
            std::vector<std::string> one;
            record.strService = MultiText(Property(set, data, SPDRP_SERVICE), one);
            one.clear();
            record.strLocation = MultiText(Property(set, data, SPDRP_LOCATION_INFORMATION), one);
            record.interfaceGuids = InterfaceGuids(set, data);
            records.push_back(record);
        }
        SetupDiDestroyDeviceInfoList(set);
        return records;
    }

    std::string FindInterfacePath(const std::string& guidText, const std::string& instanceId) override
    {
        GUID guid{};
        if (!ParseGuid(guidText, guid))
            return {};
        HDEVINFO set = SetupDiGetClassDevsW(&guid, nullptr, nullptr, DIGCF_DEVICEINTERFACE | DIGCF_PRESENT);
        if (set == INVALID_HANDLE_VALUE)
            return {};
        std::string path;
        SP_DEVICE_INTERFACE_DATA interfaceData{};
        interfaceData.cbSize = sizeof interfaceData;
        for (DWORD i = 0; path.empty() && SetupDiEnumDeviceInterfaces(set, nullptr, &guid, i, &interfaceData); ++i) {
            DWORD needed = 0;
            SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, nullptr, 0, &needed, nullptr);
            if (needed == 0)
                continue;
            std::vector<DWORD> storage(needed / sizeof(DWORD) + 1);
            auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
            detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
            SP_DEVINFO_DATA data{};
            data.cbSize = sizeof data;
            if (SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, detail, needed, nullptr, &data) &&
                _stricmp(InstanceId(set, data).c_str(), instanceId.c_str()) == 0)
                path = Utf16ToUtf8(std::wstring_view(detail->DevicePath));
        }
        SetupDiDestroyDeviceInfoList(set);
        return path;
    }

    bool LoadWinUsb() override
    {
        if (m_hWinUsb != nullptr)
            return true;
        HMODULE module = LoadLibraryW(L"winusb.dll");
        if (module == nullptr)
            return false;
        if (!Take(module, "WinUsb_Initialize", m_initialize) || !Take(module, "WinUsb_Free", m_free) ||
            !Take(module, "WinUsb_QueryInterfaceSettings", m_queryInterface) ||
            !Take(module, "WinUsb_QueryPipe", m_queryPipe) || !Take(module, "WinUsb_SetPipePolicy", m_setPipePolicy) ||
            !Take(module, "WinUsb_ReadPipe", m_readPipe) || !Take(module, "WinUsb_WritePipe", m_writePipe) ||
            !Take(module, "WinUsb_ResetPipe", m_resetPipe)) {
            FreeLibrary(module);
            return false;
        }
        m_hWinUsb = module;
        return true;
    }

    Handle OpenDevice(const std::string& path) override
    {
        const HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
        return file == INVALID_HANDLE_VALUE ? NO_HANDLE : reinterpret_cast<Handle>(file);
    }

    void CloseDevice(Handle file) override { CloseHandle(reinterpret_cast<HANDLE>(file)); }

    Handle InitializeWinUsb(Handle file) override
    {
        WINUSB_INTERFACE_HANDLE usb = nullptr;
        if (!LoadWinUsb() || !m_initialize(reinterpret_cast<HANDLE>(file), &usb))
            return NO_HANDLE;
        return reinterpret_cast<Handle>(usb);
    }

    void FreeWinUsb(Handle usb) override { m_free(Usb(usb)); }

    bool QueryPipes(Handle usb, std::vector<PipeRecord>& pipes) override
    {
        USB_INTERFACE_DESCRIPTOR descriptor{};
        if (!m_queryInterface(Usb(usb), 0, &descriptor))
            return false;
        for (UCHAR i = 0; i < descriptor.bNumEndpoints; ++i) {
            WINUSB_PIPE_INFORMATION info{};
            if (!m_queryPipe(Usb(usb), 0, i, &info))
                return false;
            pipes.push_back({info.PipeId, info.MaximumPacketSize, info.PipeType == UsbdPipeTypeBulk});
        }
        return true;
    }

    bool SetPipeTimeout(Handle usb, uint8_t pipe, uint32_t timeoutMs) override
    {
        ULONG value = timeoutMs;
        return m_setPipePolicy(Usb(usb), pipe, PIPE_TRANSFER_TIMEOUT, sizeof value, &value) != 0;
    }

    bool ReadPipe(Handle usb, uint8_t pipe, uint8_t* data, uint32_t size, uint32_t& done) override
    {
        ULONG moved = 0;
        const BOOL ok = m_readPipe(Usb(usb), pipe, data, size, &moved, nullptr);
        done = moved;
        return ok != 0;
    }

    bool WritePipe(Handle usb, uint8_t pipe, const uint8_t* data, uint32_t size, uint32_t& done) override
    {
        ULONG moved = 0;
        const BOOL ok = m_writePipe(Usb(usb), pipe, const_cast<PUCHAR>(data), size, &moved, nullptr);
        done = moved;
        return ok != 0;
    }

    bool ResetPipe(Handle usb, uint8_t pipe) override { return m_resetPipe(Usb(usb), pipe) != 0; }

private:
    static WINUSB_INTERFACE_HANDLE Usb(Handle usb) { return reinterpret_cast<WINUSB_INTERFACE_HANDLE>(usb); }

    HMODULE m_hWinUsb = nullptr;
    InitializeFunction m_initialize = nullptr;
    FreeFunction m_free = nullptr;
    QueryInterfaceFunction m_queryInterface = nullptr;
    QueryPipeFunction m_queryPipe = nullptr;
    SetPipePolicyFunction m_setPipePolicy = nullptr;
    PipeFunction m_readPipe = nullptr;
    PipeFunction m_writePipe = nullptr;
    ResetPipeFunction m_resetPipe = nullptr;
};

} // namespace

IWin32UsbSystem& RealWin32UsbSystem()
{
    static CRealWin32UsbSystem system;
    return system;
}

std::unique_ptr<IUsbBus> MakeSystemUsbBus() { return std::make_unique<CWin32UsbBus>(RealWin32UsbSystem()); }
