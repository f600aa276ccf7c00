#pragma once

#include "port/UsbDevice.h"

#include <memory>
#include <string>
#include <vector>

struct libusb_context;

// The USB link cables through libusb-1.0: one library context for the
// listing and the cables opened from it.
class CLinuxUsbBus final : public IUsbBus {
public:
    CLinuxUsbBus();
    ~CLinuxUsbBus() override;

    CLinuxUsbBus(const CLinuxUsbBus&) = delete;
    CLinuxUsbBus& operator=(const CLinuxUsbBus&) = delete;

    std::vector<UsbCableEntry> ListCables(std::string& problem) override;
    std::unique_ptr<IUsbDevice> MakeDevice(const UsbCableEntry& entry) override;

private:
    libusb_context* m_pContext = nullptr;
    int m_nInitError = 0;
};

// Where the package puts the rule that lets the user at the screen open the
// cable.
inline constexpr const char* USB_UDEV_RULE_PATH = "/usr/lib/udev/rules.d/70-vantrel92-usb.rules";

// The sentence for a libusb error code met while opening the cable at
// `place`: no permission (and the rule), in use by another program, gone.
std::string DescribeLibusbOpenError(int code, const std::string& place);
// How a transfer's libusb error code is taken.
UsbResult UsbResultOfLibusb(int code);
