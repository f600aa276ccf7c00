#pragma once

#include "port/UsbDevice.h"
#include "port/Win32UsbSystem.h"

#include <memory>
#include <string>
#include <vector>

// The USB link cables on Windows, through the WinUSB driver bound to them:
// a cable with no driver, or another one, is listed with what to do about
// it, and a Windows without WinUSB says so.
class CWin32UsbBus final : public IUsbBus {
public:
    explicit CWin32UsbBus(IWin32UsbSystem& system) : m_system(system) {}

    std::vector<UsbCableEntry> ListCables(std::string& problem) override;
    std::unique_ptr<IUsbDevice> MakeDevice(const UsbCableEntry& entry) override;

private:
    IWin32UsbSystem& m_system;
};
