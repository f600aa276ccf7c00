#include "port/LinuxUsbBus.h"

#include "port/UsbCable.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <thread>

#include <libusb-1.0/libusb.h>

namespace {

// A reset cable comes back on the bus after about this long.
constexpr auto RESET_SETTLE = std::chrono::milliseconds(500);

class CLibusbDevice final : public CEndpointUsbDevice {
public:
    CLibusbDevice(libusb_context* context, std::string place) : m_pContext(context), m_strPlace(std::move(place)) {}
    ~CLibusbDevice() override { Close(); }

    bool Open(std::string& error) override;
    void Close() override;
    size_t GetMaxPacketSize() const override { return m_nMaxPacket; }
    void Reset() override;

private:
    UsbResult Transfer(uint8_t endpoint, uint8_t* data, size_t size, uint32_t timeoutMs, size_t& done) override;
    bool Fail(std::string& error, int code)
    {
        error = DescribeLibusbOpenError(code, m_strPlace);
        Close();
        return false;
    }

    libusb_context* m_pContext;
    std::string m_strPlace;
    libusb_device_handle* m_hDevice = nullptr;
    bool m_bClaimed = false;
    size_t m_nMaxPacket = USB_CABLE_PACKET;
};

// The device at `place` among those plugged in now, with a reference the
// caller drops; null when it is gone.
libusb_device* FindDevice(libusb_context* context, const std::string& place)
{
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(context, &list);
    libusb_device* found = nullptr;
    for (ssize_t i = 0; i < count && found == nullptr; ++i) {
        if (UsbPlaceText(libusb_get_bus_number(list[i]), libusb_get_device_address(list[i])) == place)
            found = libusb_ref_device(list[i]);
    }
    if (count >= 0)
        libusb_free_device_list(list, 1);
    return found;
}

bool CLibusbDevice::Open(std::string& error)
{
    Close();
    libusb_device* device = FindDevice(m_pContext, m_strPlace);
    if (device == nullptr)
        return Fail(error, LIBUSB_ERROR_NO_DEVICE);
    const int maxPacket = libusb_get_max_packet_size(device, USB_ENDPOINT_IN);
    m_nMaxPacket = maxPacket > 0 ? static_cast<size_t>(maxPacket) : USB_CABLE_PACKET;
    int result = libusb_open(device, &m_hDevice);
    libusb_unref_device(device);
    if (result != 0) {
        m_hDevice = nullptr;
        return Fail(error, result);
    }
    // A kernel driver that took the interface lets go of it while we hold it.
    libusb_set_auto_detach_kernel_driver(m_hDevice, 1);
    // Setting the configuration it already has would reset the cable.
    int configuration = 0;
    result = libusb_get_configuration(m_hDevice, &configuration);
    if (result == 0 && configuration != USB_CABLE_CONFIGURATION)
        result = libusb_set_configuration(m_hDevice, USB_CABLE_CONFIGURATION);
    if (result != 0)
        return Fail(error, result);
    result = libusb_claim_interface(m_hDevice, USB_CABLE_INTERFACE);
    if (result != 0)
        return Fail(error, result);
    m_bClaimed = true;
    return true;
}

void CLibusbDevice::Close()
{
    if (m_hDevice == nullptr)
        return;
    if (m_bClaimed)
        libusb_release_interface(m_hDevice, USB_CABLE_INTERFACE);
    m_bClaimed = false;
    libusb_close(m_hDevice);
    m_hDevice = nullptr;
}

UsbResult CLibusbDevice::Transfer(uint8_t endpoint, uint8_t* data, size_t size, uint32_t timeoutMs, size_t& done)
{
    done = 0;
    if (m_hDevice == nullptr)
        return UsbResult::Failed;
    int transferred = 0;
    // libusb takes 0 as no time-out at all.
    const unsigned int timeout = timeoutMs == 0 ? 1 : timeoutMs;
    const int length = static_cast<int>(size > INT_MAX ? INT_MAX : size);
    const int result = libusb_bulk_transfer(m_hDevice, endpoint, data, length, &transferred, timeout);
    done = transferred > 0 ? static_cast<size_t>(transferred) : 0;
    return UsbResultOfLibusb(result);
}

void CLibusbDevice::Reset()
{
    if (m_hDevice == nullptr)
        return;
    libusb_clear_halt(m_hDevice, USB_ENDPOINT_IN);
    libusb_clear_halt(m_hDevice, USB_ENDPOINT_OUT);
    libusb_reset_device(m_hDevice);
    // The handle is no good after a reset: close it, and give the cable
    // time to come back before anyone opens it again.
    Close();
    std::this_thread::sleep_for(RESET_SETTLE);
}

} // namespace

std::string DescribeLibusbOpenError(int code, const std::string& place)
{
    switch (code) {
    case LIBUSB_ERROR_ACCESS:
        return ProgramText(IDS_USB_NO_PERMISSION, {place, USB_UDEV_RULE_PATH});
    case LIBUSB_ERROR_BUSY:
        return ProgramText(IDS_USB_BUSY, {place});
    case LIBUSB_ERROR_NO_DEVICE:
    case LIBUSB_ERROR_NOT_FOUND:
        return ProgramText(IDS_USB_NONE);
    default:
        return ProgramText(IDS_USB_OPEN_FAILED, {place, libusb_strerror(code)});
    }
}

UsbResult UsbResultOfLibusb(int code)
{
    switch (code) {
    case LIBUSB_SUCCESS:
        return UsbResult::Done;
    case LIBUSB_ERROR_TIMEOUT:
        return UsbResult::TimedOut;
    case LIBUSB_ERROR_NO_DEVICE:
        return UsbResult::Gone;
    default:
        return UsbResult::Failed;
    }
}

CLinuxUsbBus::CLinuxUsbBus()
{
    m_nInitError = libusb_init(&m_pContext);
    if (m_nInitError != 0)
        m_pContext = nullptr;
}

CLinuxUsbBus::~CLinuxUsbBus()
{
    if (m_pContext != nullptr)
        libusb_exit(m_pContext);
}

std::vector<UsbCableEntry> CLinuxUsbBus::ListCables(std::string& problem)
{
    std::vector<UsbCableEntry> cables;
    if (m_pContext == nullptr) {
        problem = libusb_strerror(m_nInitError);
        return cables;
    }
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(m_pContext, &list);
    if (count < 0) {
        problem = libusb_strerror(static_cast<int>(count));
        return cables;
    }
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(list[i], &descriptor) != 0 || descriptor.idVendor != USB_VENDOR_TI ||
            (descriptor.idProduct != USB_PRODUCT_LINK_CABLE && descriptor.idProduct != USB_PRODUCT_DAMAGED_EEPROM))
            continue;
        UsbCableEntry entry;
        entry.strPlace = UsbPlaceText(libusb_get_bus_number(list[i]), libusb_get_device_address(list[i]));
        entry.wProduct = descriptor.idProduct;
        entry.wVersion = descriptor.bcdDevice;
        cables.push_back(entry);
    }
    libusb_free_device_list(list, 1);
    // The bus's own order, which follows where the cables are plugged.
    std::sort(cables.begin(), cables.end(),
              [](const UsbCableEntry& a, const UsbCableEntry& b) { return a.strPlace < b.strPlace; });
    return cables;
}

std::unique_ptr<IUsbDevice> CLinuxUsbBus::MakeDevice(const UsbCableEntry& entry)
{
    return std::make_unique<CLibusbDevice>(m_pContext, entry.strPlace);
}

std::unique_ptr<IUsbBus> MakeSystemUsbBus() { return std::make_unique<CLinuxUsbBus>(); }
