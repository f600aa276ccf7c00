#include "FakeKernel.h"

extern "C" {
#include "driver/PortioRequest.h"
#include "driver/PortvaneDevice.h"
}

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Device : public ::testing::Test {
protected:
    void SetUp() override { Fake().Reset(); }

    // An I/O request packet for device control, as the I/O manager builds it.
    struct Request {
        IO_STACK_LOCATION stack{};
        IRP irp{};
        std::vector<uint8_t> system;

        Request(ULONG code, std::vector<uint8_t> record, ULONG outputLength) : system(std::move(record))
        {
            stack.MajorFunction = IRP_MJ_DEVICE_CONTROL;
            stack.Parameters.DeviceIoControl.IoControlCode = code;
            stack.Parameters.DeviceIoControl.InputBufferLength = static_cast<ULONG>(system.size());
            stack.Parameters.DeviceIoControl.OutputBufferLength = outputLength;
            system.resize(std::max<size_t>(system.size(), outputLength));
            irp.AssociatedIrp.SystemBuffer = system.data();
            irp.FakeCurrentStackLocation = &stack;
            irp.IoStatus = {0x1234, 0x5678};
        }
    };

    DRIVER_OBJECT driver{};
};

const std::vector<std::string> LOAD_STEPS = {
    "IoCreateDevice \\Device\\Portvane",
    "ObOpenObjectByPointer device kernel-handle write-dac kernel-mode",
    "ZwSetSecurityObject dacl",
    "ZwClose",
    "IoCreateSymbolicLink \\DosDevices\\Portvane -> \\Device\\Portvane",
};

} // namespace

TEST_F(Device, LoadCreatesARestrictedDeviceThenItsLink)
{
    ASSERT_EQ(DriverEntry(&driver, nullptr), STATUS_SUCCESS);
    EXPECT_EQ(Fake().calls, LOAD_STEPS);
    EXPECT_EQ(Fake().device.DeviceType, 0x22u);
    EXPECT_EQ(Fake().extensionSize, 0u);
    EXPECT_FALSE(Fake().bExclusive);
    EXPECT_EQ(Fake().device.Characteristics, ULONG{FILE_DEVICE_SECURE_OPEN});

    // Only the system and administrators may open it, with full access.
    ASSERT_TRUE(Fake().bDaclSet);
    ASSERT_EQ(Fake().dacl.size(), 2u);
    EXPECT_EQ(Fake().dacl[0].sid, "S-1-5-18");
    EXPECT_EQ(Fake().dacl[1].sid, "S-1-5-32-544");
    for (const auto& ace : Fake().dacl)
        EXPECT_EQ(ace.mask, ACCESS_MASK{FILE_ALL_ACCESS});
    EXPECT_EQ(Fake().openHandles, 0);

    EXPECT_EQ(driver.DriverUnload, &PortvaneUnload);
    EXPECT_EQ(driver.MajorFunction[IRP_MJ_CREATE], &PortvaneCreateClose);
    EXPECT_EQ(driver.MajorFunction[IRP_MJ_CLOSE], &PortvaneCreateClose);
    EXPECT_EQ(driver.MajorFunction[IRP_MJ_DEVICE_CONTROL], &PortvaneDeviceControl);
    int handled = 0;
    for (auto* handler : driver.MajorFunction)
        handled += handler != nullptr;
    EXPECT_EQ(handled, 3);
}

TEST_F(Device, FailedLoadLeavesNoDeviceBehind)
{
    struct Case {
        const char* what;
        NTSTATUS FakeKernel::*failure;
        size_t steps;
    };
    for (const Case& c : {Case{"device", &FakeKernel::createDeviceStatus, 1},
                          Case{"open for security", &FakeKernel::openObjectStatus, 2},
                          Case{"security", &FakeKernel::setSecurityStatus, 4},
                          Case{"link", &FakeKernel::createLinkStatus, 5}}) {
        SCOPED_TRACE(c.what);
        Fake().Reset();
        driver = DRIVER_OBJECT{};
        Fake().*c.failure = STATUS_OBJECT_NAME_COLLISION;

        EXPECT_EQ(DriverEntry(&driver, nullptr), STATUS_OBJECT_NAME_COLLISION);
        std::vector<std::string> expected(LOAD_STEPS.begin(), LOAD_STEPS.begin() + static_cast<long>(c.steps));
        if (c.steps > 1)
            expected.push_back("IoDeleteDevice");
        EXPECT_EQ(Fake().calls, expected);
        EXPECT_FALSE(Fake().bDeviceExists);
        EXPECT_FALSE(Fake().bLinkExists);
        EXPECT_EQ(Fake().openHandles, 0);
        EXPECT_EQ(driver.DriverUnload, nullptr);
    }
}

TEST_F(Device, UnloadRemovesDeviceAndLink)
{
    ASSERT_EQ(DriverEntry(&driver, nullptr), STATUS_SUCCESS);
    Fake().calls.clear();
    driver.DriverUnload(&driver);
    EXPECT_EQ(Fake().calls,
              (std::vector<std::string>{"IoDeleteDevice", "IoDeleteSymbolicLink \\DosDevices\\Portvane"}));
    EXPECT_FALSE(Fake().bDeviceExists);
    EXPECT_FALSE(Fake().bLinkExists);
}

TEST_F(Device, OpenAndCloseSucceedAtOnceAndTouchNothing)
{
    ASSERT_EQ(DriverEntry(&driver, nullptr), STATUS_SUCCESS);
    Fake().calls.clear();
    for (UCHAR major : {UCHAR{IRP_MJ_CREATE}, UCHAR{IRP_MJ_CLOSE}}) {
        Request request(0, {}, 0);
        request.stack.MajorFunction = major;
        EXPECT_EQ(driver.MajorFunction[major](driver.DeviceObject, &request.irp), STATUS_SUCCESS);
        EXPECT_EQ(request.irp.IoStatus.Status, STATUS_SUCCESS);
        EXPECT_EQ(request.irp.IoStatus.Information, 0u);
    }
    EXPECT_EQ(Fake().completed.size(), 2u);
    EXPECT_EQ(Fake().lastBoost, IO_NO_INCREMENT);
    EXPECT_TRUE(Fake().ports.empty());
    EXPECT_TRUE(Fake().bDeviceExists);
}

TEST_F(Device, DeviceControlCompletesEachRequestWithItsResult)
{
    ASSERT_EQ(DriverEntry(&driver, nullptr), STATUS_SUCCESS);
    std::vector<uint8_t> record(24, 0);
    record[0] = 0x79;
    record[1] = 0x03;

    Request read(IOCTL_PORTIO_READ_UCHAR, record, 24);
    EXPECT_EQ(PortvaneDeviceControl(driver.DeviceObject, &read.irp), STATUS_SUCCESS);
    EXPECT_EQ(read.irp.IoStatus.Status, STATUS_SUCCESS);
    EXPECT_EQ(read.irp.IoStatus.Information, 24u);
    EXPECT_EQ(read.system[4], 0x11);

    Request tooSmall(IOCTL_PORTIO_READ_UCHAR, std::vector<uint8_t>(record.begin(), record.begin() + 23), 23);
    EXPECT_EQ(PortvaneDeviceControl(driver.DeviceObject, &tooSmall.irp), STATUS_BUFFER_TOO_SMALL);
    EXPECT_EQ(tooSmall.irp.IoStatus.Status, STATUS_BUFFER_TOO_SMALL);
    EXPECT_EQ(tooSmall.irp.IoStatus.Information, 0u);

    // This build has no safe way into the caller's memory: buffer codes are refused.
    record[12] = 1;
    Request buffer(IOCTL_PORTIO_WRITE_BUFFER_UCHAR, record, 24);
    EXPECT_EQ(PortvaneDeviceControl(driver.DeviceObject, &buffer.irp), STATUS_NOT_SUPPORTED);
    EXPECT_EQ(buffer.irp.IoStatus.Information, 0u);

    EXPECT_EQ(Fake().completed, (std::vector<PIRP>{&read.irp, &tooSmall.irp, &buffer.irp}));
    EXPECT_EQ(Fake().lastBoost, IO_NO_INCREMENT);
    EXPECT_EQ(Fake().ports.size(), 1u);
}
