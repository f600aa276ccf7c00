#pragma once

#include "port/SerialDevice.h"
#include "port/Win32CommSystem.h"

#include <string>
#include <vector>

// A Windows serial port, named COM1, com12 or by a full device path. Its
// logic is plain C++ so that its tests run on every system; the calls are
// IWin32CommSystem's.
class CWin32SerialDevice final : public ISerialDevice {
public:
    CWin32SerialDevice(IWin32CommSystem& system, std::string name);
    ~CWin32SerialDevice() override;

    bool Open(SerialMode mode, std::string& error) override;
    void Close() override;
    const std::string& GetName() const override { return m_strName; }
    bool SetLines(bool rts, bool dtr) override;
    bool GetLines(bool& cts, bool& dsr) override;
    int Write(const uint8_t* data, size_t size, uint32_t waitMs) override;
    int Read(uint8_t* data, size_t size, uint32_t waitMs) override;
    void Purge() override;

    // "COM10" and above open only as "\\.\COM10"; every COM name takes that
    // form, and other names stay as they are.
    static std::string DevicePath(const std::string& name);
    // The system's COM ports, in natural order (COM2 before COM10).
    static std::vector<std::string> ListPorts(IWin32CommSystem& system);

    // Error codes of the system that the messages tell apart.
    static constexpr uint32_t SYSTEM_ERROR_FILE_NOT_FOUND = 2;
    static constexpr uint32_t SYSTEM_ERROR_PATH_NOT_FOUND = 3;
    static constexpr uint32_t SYSTEM_ERROR_ACCESS_DENIED = 5;
    static constexpr uint32_t SYSTEM_ERROR_SHARING_VIOLATION = 32;

private:
    bool SetWaits(uint32_t readWaitMs, uint32_t writeWaitMs);
    std::string DescribeError(uint32_t code) const;

    IWin32CommSystem& m_system;
    std::string m_strName;
    IWin32CommSystem::Handle m_hPort = IWin32CommSystem::NO_HANDLE;
    bool m_bRts = true;
    bool m_bDtr = true;
    bool m_bLinesKnown = false;
    uint32_t m_dwReadWaitMs = 0;
    uint32_t m_dwWriteWaitMs = 0;
    bool m_bWaitsSet = false;
};
