#pragma once

#include "port/PortBackend.h"

#include <cstdint>
#include <memory>
#include <string>

// The port client: byte reads and writes of the port registers through
// whichever backend the program chose. With nothing open every operation
// returns 0 and touches no port, which the cable layer then sees as a dead
// link (a time-out) rather than as an error of its own.
class CPortIo {
public:
    CPortIo() = default;
    explicit CPortIo(std::unique_ptr<IPortBackend> backend);
    ~CPortIo();

    CPortIo(const CPortIo&) = delete;
    CPortIo& operator=(const CPortIo&) = delete;

    // Chooses how the registers are reached; takes effect at the next OpenDriver.
    void SetBackend(std::unique_ptr<IPortBackend> backend);

    bool OpenDriver();
    void CloseDriver();

    uint8_t ReadPortByte(uint16_t port);
    int WritePortByte(uint16_t port, uint8_t value);

    bool IsOpen() const { return m_bOpen; }
    // Why the last OpenDriver failed, in words for the user; empty after success.
    const std::string& GetLastError() const { return m_strLastError; }
    IPortBackend* GetBackend() const { return m_backend.get(); }

private:
    std::unique_ptr<IPortBackend> m_backend;
    bool m_bOpen = false;
    std::string m_strLastError;
};
