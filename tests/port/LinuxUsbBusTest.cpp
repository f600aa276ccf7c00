#include "port/LinuxUsbBus.h"
#include "port/UsbCable.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <gtest/gtest.h>

#include <libusb-1.0/libusb.h>

#include <memory>

// How libusb's answers read: the permission one names the rule that mends it.
TEST(LinuxUsbBus, LibusbErrorsReadAsWhatToDo)
{
    EXPECT_EQ(DescribeLibusbOpenError(LIBUSB_ERROR_ACCESS, "003:007"),
              ProgramText(IDS_USB_NO_PERMISSION, {"003:007", "/usr/lib/udev/rules.d/70-vantrel92-usb.rules"}));
    EXPECT_EQ(DescribeLibusbOpenError(LIBUSB_ERROR_BUSY, "003:007"), ProgramText(IDS_USB_BUSY, {"003:007"}));
    EXPECT_EQ(DescribeLibusbOpenError(LIBUSB_ERROR_NO_DEVICE, "003:007"), ProgramText(IDS_USB_NONE));
    EXPECT_EQ(DescribeLibusbOpenError(LIBUSB_ERROR_IO, "003:007"),
              ProgramText(IDS_USB_OPEN_FAILED, {"003:007", "Input/Output Error"}));
    EXPECT_EQ(UsbResultOfLibusb(LIBUSB_SUCCESS), UsbResult::Done);
    EXPECT_EQ(UsbResultOfLibusb(LIBUSB_ERROR_TIMEOUT), UsbResult::TimedOut);
    EXPECT_EQ(UsbResultOfLibusb(LIBUSB_ERROR_NO_DEVICE), UsbResult::Gone);
    EXPECT_EQ(UsbResultOfLibusb(LIBUSB_ERROR_PIPE), UsbResult::Failed);
}

// The real library on a machine without the cable: the listing finds none,
// and opening says so, or says why USB cannot be used here at all.
TEST(LinuxUsbBus, WithoutACableTheLibrarySaysThereIsNone)
{
    std::string problem;
    if (!CLinuxUsbBus().ListCables(problem).empty())
        GTEST_SKIP() << "a USB link cable is plugged in";
    CUsbCable cable(std::make_unique<CLinuxUsbBus>(), "");
    std::string error;
    EXPECT_FALSE(cable.Open(error));
    EXPECT_EQ(error, problem.empty() ? ProgramText(IDS_USB_NONE) : ProgramText(IDS_USB_UNAVAILABLE, {problem}));
}
