#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The USB link cable as the system's USB layer sees it: one configuration,
// one vendor-class interface with a bulk endpoint each way, full speed.
inline constexpr uint16_t USB_VENDOR_TI = 0x0451;
inline constexpr uint16_t USB_PRODUCT_LINK_CABLE = 0xE001;
// The id a cable whose EEPROM is damaged shows instead: its USB chip's own.
inline constexpr uint16_t USB_PRODUCT_DAMAGED_EEPROM = 0x3410;
inline constexpr uint8_t USB_CABLE_CONFIGURATION = 1;
inline constexpr uint8_t USB_CABLE_INTERFACE = 0;
inline constexpr uint8_t USB_ENDPOINT_IN = 0x81;
inline constexpr uint8_t USB_ENDPOINT_OUT = 0x02;
inline constexpr size_t USB_CABLE_PACKET = 32;
inline constexpr size_t USB_LARGEST_PACKET = 64;

// How a transfer ended. A time-out may still have moved some bytes.
enum class UsbResult {
    Done,
    TimedOut,
    Gone,   // the cable was unplugged
    Failed, // anything else: a stall, an error on the bus
};

// One cable the system lists.
struct UsbCableEntry {
    // Where it is plugged, as --port takes it: "bus:address" ("003:007").
    std::string strPlace;
    uint16_t wProduct = USB_PRODUCT_LINK_CABLE;
    // The device's release number, BCD: 0x0103 or 0x0208.
    uint16_t wVersion = 0;
    // Why it cannot be opened, known from the listing alone (no driver bound
    // on Windows); empty when nothing is known against it.
    std::string strProblem;
    // What the system needs to find it again (a Windows device instance).
    std::string strSystemId;
};

// One cable opened at the transfer level.
class IUsbDevice {
public:
    virtual ~IUsbDevice() = default;

    // Takes the cable for this program: its configuration, its interface
    // (from a kernel driver that holds it, too). On failure `error` receives
    // one sentence the user can act on: no permission and the rule that
    // gives it, the cable in use by another program, no driver.
    virtual bool Open(std::string& error) = 0;
    virtual void Close() = 0;
    // The bulk IN endpoint's largest packet, from the descriptor.
    virtual size_t GetMaxPacketSize() const = 0;
    // One bulk transfer each; `done` receives the bytes moved.
    virtual UsbResult BulkOut(const uint8_t* data, size_t size, uint32_t timeoutMs, size_t& done) = 0;
    virtual UsbResult BulkIn(uint8_t* data, size_t size, uint32_t timeoutMs, size_t& done) = 0;
    // Clears both endpoints' halts and resets the cable, which leaves it
    // closed: it must be opened again.
    virtual void Reset() = 0;
};

// A device of the system whose bulk transfers, both ways, go through one
// call that takes the endpoint.
class CEndpointUsbDevice : public IUsbDevice {
public:
    UsbResult BulkOut(const uint8_t* data, size_t size, uint32_t timeoutMs, size_t& done) final
    {
        // The system's call takes a writable buffer either way; it does not
        // write to an OUT transfer's.
        return Transfer(USB_ENDPOINT_OUT, const_cast<uint8_t*>(data), size, timeoutMs, done);
    }
    UsbResult BulkIn(uint8_t* data, size_t size, uint32_t timeoutMs, size_t& done) final
    {
        return Transfer(USB_ENDPOINT_IN, data, size, timeoutMs, done);
    }

protected:
    virtual UsbResult Transfer(uint8_t endpoint, uint8_t* data, size_t size, uint32_t timeoutMs, size_t& done) = 0;
};

// The system's USB: the link cables plugged in, and opening one.
class IUsbBus {
public:
    virtual ~IUsbBus() = default;
    // The cables, in a stable order. When USB itself cannot be used,
    // `problem` says why and the list is empty.
    virtual std::vector<UsbCableEntry> ListCables(std::string& problem) = 0;
    virtual std::unique_ptr<IUsbDevice> MakeDevice(const UsbCableEntry& entry) = 0;
};

// The running system's USB: libusb on Linux, WinUSB on Windows.
std::unique_ptr<IUsbBus> MakeSystemUsbBus();
