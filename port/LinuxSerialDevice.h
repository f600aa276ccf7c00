#pragma once

#include "port/LinuxSerialSystem.h"
#include "port/SerialDevice.h"

#include <string>
#include <vector>

// A Linux serial port (/dev/ttyS*, /dev/ttyUSB*, /dev/ttyACM*, or any
// terminal device named), opened without becoming the controlling terminal
// and without waiting for a carrier.
class CLinuxSerialDevice final : public ISerialDevice {
public:
    CLinuxSerialDevice(ILinuxSerialSystem& system, std::string path);
    ~CLinuxSerialDevice() override;

    bool Open(SerialMode mode, std::string& error) override;
    void Close() override;
    const std::string& GetName() const override { return m_strPath; }
    bool SetLines(bool rts, bool dtr) override;
    bool GetLines(bool& cts, bool& dsr) override;
    int Write(const uint8_t* data, size_t size, uint32_t waitMs) override;
    int Read(uint8_t* data, size_t size, uint32_t waitMs) override;
    void Purge() override;

    // The serial ports under `devRoot` a cable may be on, in natural order:
    // ttyS* with a real UART behind it (its type under `sysRoot` is not 0),
    // ttyUSB* and ttyACM*.
    static std::vector<std::string> ListPorts(ILinuxSerialSystem& system, const std::string& devRoot = "/dev",
                                              const std::string& sysRoot = "/sys");

private:
    std::string DescribeOpenError(int err) const;
    bool Fail(std::string& error, std::string text);

    ILinuxSerialSystem& m_system;
    std::string m_strPath;
    int m_fd = -1;
    // The modem-control word as last read or set; outputs are changed in it
    // and set whole, one request per change.
    int m_nModemBits = 0;
    bool m_bModemBitsKnown = false;
};
