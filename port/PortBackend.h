#pragma once

#include <cstdint>
#include <string>

// One way of reaching the two registers of the parallel port: a kernel
// driver, the Linux parport device, raw port instructions or the simulated
// cable. CPortIo owns exactly one of these.
class IPortBackend {
public:
    virtual ~IPortBackend() = default;

    // Makes the registers reachable. On failure `error` receives one sentence
    // the user can act on, and the backend stays closed.
    virtual bool Open(std::string& error) = 0;
    virtual void Close() = 0;

    virtual uint8_t ReadByte(uint16_t port) = 0;
    virtual void WriteByte(uint16_t port, uint8_t value) = 0;
};
