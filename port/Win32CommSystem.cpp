#include "port/Win32CommSystem.h"

#include "port/SerialPorts.h"
#include "port/Win32SerialDevice.h"
#include "text/Utf16Text.h"

#include <windows.h>

namespace {

HANDLE ToFile(IWin32CommSystem::Handle handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

class CRealWin32CommSystem final : public IWin32CommSystem {
public:
    uint32_t LastErrorCode() override { return GetLastError(); }

    Handle OpenComm(const std::string& path) override
    {
        const HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
        return file == INVALID_HANDLE_VALUE ? NO_HANDLE : reinterpret_cast<Handle>(file);
    }

    void CloseComm(Handle handle) override { CloseHandle(ToFile(handle)); }

    bool SetCommSettings(Handle handle, const CommSettings& settings) override
    {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!GetCommState(ToFile(handle), &dcb))
            return false;
        dcb.BaudRate = settings.baudRate;
        dcb.ByteSize = settings.byteSize;
        dcb.Parity = settings.bParity ? EVENPARITY : NOPARITY;
        dcb.fParity = settings.bParity;
        dcb.StopBits = settings.bTwoStopBits ? TWOSTOPBITS : ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fOutxCtsFlow = settings.bFlowControl;
        dcb.fOutxDsrFlow = settings.bFlowControl;
        dcb.fDsrSensitivity = FALSE;
        dcb.fOutX = settings.bFlowControl;
        dcb.fInX = settings.bFlowControl;
        dcb.fNull = FALSE;
        dcb.fErrorChar = FALSE;
        dcb.fAbortOnError = FALSE;
        dcb.fDtrControl = settings.bDtrOn ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
        dcb.fRtsControl = settings.bRtsOn ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
        return SetCommState(ToFile(handle), &dcb) != 0;
    }

    bool SetCommWaits(Handle handle, uint32_t readWaitMs, uint32_t writeWaitMs) override
    {
        // Both MAXDWORD and a constant: a read returns at once with what has
        // come, or waits for the first byte up to the constant.
        COMMTIMEOUTS timeouts{};
        timeouts.ReadIntervalTimeout = MAXDWORD;
        timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
        timeouts.ReadTotalTimeoutConstant = readWaitMs;
        timeouts.WriteTotalTimeoutMultiplier = 0;
        timeouts.WriteTotalTimeoutConstant = writeWaitMs;
        return SetCommTimeouts(ToFile(handle), &timeouts) != 0;
    }

    bool EscapeComm(Handle handle, Escape function) override
    {
        return EscapeCommFunction(ToFile(handle), static_cast<DWORD>(function)) != 0;
    }

    bool GetModemStatus(Handle handle, uint32_t& status) override
    {
        DWORD value = 0;
        if (!GetCommModemStatus(ToFile(handle), &value))
            return false;
        status = value;
        return true;
    }

    bool ReadComm(Handle handle, uint8_t* data, uint32_t size, uint32_t& done) override
    {
        DWORD n = 0;
        const BOOL ok = ReadFile(ToFile(handle), data, size, &n, nullptr);
        done = n;
        return ok != 0;
    }

    bool WriteComm(Handle handle, const uint8_t* data, uint32_t size, uint32_t& done) override
    {
        DWORD n = 0;
        const BOOL ok = WriteFile(ToFile(handle), data, size, &n, nullptr);
        done = n;
        return ok != 0;
    }

    bool PurgeBoth(Handle handle) override
    {
        return PurgeComm(ToFile(handle), PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR) != 0;
    }

    // The ports the serial drivers have published, as device manager shows them.
    std::vector<std::string> ListCommPorts() override
    {
        std::vector<std::string> ports;
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
            return ports;
        for (DWORD index = 0;; ++index) {
            wchar_t name[256];
            DWORD nameChars = 256;
            wchar_t value[64];
            DWORD valueBytes = sizeof value - sizeof(wchar_t);
            DWORD type = 0;
            const LONG result = RegEnumValueW(key, index, name, &nameChars, nullptr, &type,
                                              reinterpret_cast<BYTE*>(value), &valueBytes);
            if (result == ERROR_NO_MORE_ITEMS)
                break;
            if (result != ERROR_SUCCESS || type != REG_SZ)
                continue;
            value[valueBytes / sizeof(wchar_t)] = L'\0';
            ports.push_back(Utf16ToUtf8(value));
        }
        RegCloseKey(key);
        return ports;
    }
};

} // namespace

IWin32CommSystem& RealWin32CommSystem()
{
    static CRealWin32CommSystem system;
    return system;
}

std::unique_ptr<ISerialDevice> MakeSystemSerialDevice(const std::string& name)
{
    return std::make_unique<CWin32SerialDevice>(RealWin32CommSystem(), name);
}

std::vector<std::string> ListSystemSerialPorts()
{
    return CWin32SerialDevice::ListPorts(RealWin32CommSystem());
}
