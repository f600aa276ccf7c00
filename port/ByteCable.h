#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A cable that moves whole bytes, with a small computer of its own that does
// the calculator's bit handshake: the gray serial cable and the USB link
// cable. Bytes pass as they are in both directions. The link gathers
// what it sends and hands each packet over in one Write, and may read
// several bytes at once; the waits here are short, and the link keeps the
// time-out and asks about cancelling between them.
class IByteCable {
public:
    virtual ~IByteCable() = default;

    // On failure `error` receives one sentence the user can act on, and the
    // cable stays closed.
    virtual bool Open(std::string& error) = 0;
    virtual void Close() = 0;

    // As ISerialDevice::Write and Read: a count, 0 when nothing moved within
    // `waitMs`, -1 when the cable failed.
    virtual int Write(const uint8_t* data, size_t size, uint32_t waitMs) = 0;
    virtual int Read(uint8_t* data, size_t size, uint32_t waitMs) = 0;
    // Throws away what is waiting in either direction, after a failure or a
    // cancel, so that the next exchange starts clean.
    virtual void Purge() = 0;

    // The cable failed in a way that closing and opening it again may mend
    // (an adapter unplugged and plugged back in).
    virtual bool NeedsReopen() const { return false; }
    // After a failure: one sentence on what became of the cable, when that
    // is more than the exchange's own message says (the cable unplugged);
    // empty otherwise.
    virtual std::string DescribeFailure() const { return {}; }
};
