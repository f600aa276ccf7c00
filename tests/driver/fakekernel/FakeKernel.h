#pragma once

// What the Portvane driver asked of the stand-in kernel, and the answers the
// next calls give. One per test program; tests call Reset() first.

extern "C" {
#include "ntifs.h"
}

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct FakePortAccess {
    bool bWrite;
    unsigned width; // bytes: 1, 2 or 4
    uint16_t port;
    uint32_t value;

    bool operator==(const FakePortAccess&) const = default;
};

struct FakeAce {
    ACCESS_MASK mask;
    std::string sid;
};

struct FakeKernel {
    // Port routines. Reads are answered by onRead (default: the low bits of
    // 0x44332211, so that every byte of a result is told apart).
    std::vector<FakePortAccess> ports;
    std::function<uint32_t(uint16_t port, unsigned width)> onRead;
    std::function<void(uint16_t port, unsigned width, uint32_t value)> onWrite;
    // False plays a kernel emulated in a user process, where port
    // instructions fault.
    bool bKernelMode = true;

    // Object manager and I/O manager, in call order, as readable lines.
    std::vector<std::string> calls;
    NTSTATUS createDeviceStatus = STATUS_SUCCESS;
    NTSTATUS createLinkStatus = STATUS_SUCCESS;
    NTSTATUS openObjectStatus = STATUS_SUCCESS;
    NTSTATUS setSecurityStatus = STATUS_SUCCESS;

    DEVICE_OBJECT device{};
    ULONG extensionSize = 0;
    BOOLEAN bExclusive = 0;
    bool bDeviceExists = false;
    bool bLinkExists = false;
    int openHandles = 0;

    // The access list last set on the device.
    bool bDaclSet = false;
    std::vector<FakeAce> dacl;

    std::vector<PIRP> completed;
    int lastBoost = -1;

    void Reset();
};

FakeKernel& Fake();
std::string Narrow(const UNICODE_STRING& text);
