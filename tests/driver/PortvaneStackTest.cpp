// The program's port client, the driver's request handling and the cable,
// end to end: CLink -> CPortIo -> CPortvaneBackend -> device control ->
// Portvane driver -> port routines -> simulated cable -> calculator.

#include "FakeClock.h"
#include "FakeKernel.h"
#include "FakePortvaneSystem.h"
#include "link/Link.h"
#include "port/PortvaneBackend.h"
#include "port/probe/PortvaneProbe.h"
#include "sim/CalcLinkEnd.h"
#include "sim/SimulatedCable.h"

extern "C" {
#include "driver/PortvaneDevice.h"
}

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

namespace {

// A Windows whose Portvane device is the driver under test, loaded while
// its service runs, with its port routines wired to a simulated cable.
struct CDriverStack {
    explicit CDriverStack(uint16_t base = 0x378) : cable(base)
    {
        Fake().Reset();
        cable.SetPeer(&calc);
        Fake().onRead = [this](uint16_t port, unsigned) { return cable.ReadFromPc(port); };
        Fake().onWrite = [this](uint16_t port, unsigned, uint32_t value) {
            cable.WriteFromPc(port, static_cast<uint8_t>(value));
        };
        system.onControl = [this](uint32_t code, void* buffer, uint32_t in, uint32_t out, uint32_t& returned) {
            return Control(code, buffer, in, out, returned);
        };
    }

    // As the I/O manager does for buffered transfer: copy in, dispatch, copy
    // the information count back out.
    bool Control(uint32_t code, void* buffer, uint32_t in, uint32_t out, uint32_t& returned)
    {
        if (!bLoaded) {
            EXPECT_EQ(DriverEntry(&driver, nullptr), STATUS_SUCCESS);
            bLoaded = true;
        }
        std::vector<uint8_t> systemBuffer(std::max(in, out), 0xCD);
        std::memcpy(systemBuffer.data(), buffer, in);
        IO_STACK_LOCATION stack{};
        stack.MajorFunction = IRP_MJ_DEVICE_CONTROL;
        stack.Parameters.DeviceIoControl.IoControlCode = code;
        stack.Parameters.DeviceIoControl.InputBufferLength = in;
        stack.Parameters.DeviceIoControl.OutputBufferLength = out;
        IRP irp{};
        irp.AssociatedIrp.SystemBuffer = systemBuffer.data();
        irp.FakeCurrentStackLocation = &stack;
        const NTSTATUS status = driver.MajorFunction[IRP_MJ_DEVICE_CONTROL](driver.DeviceObject, &irp);
        std::memcpy(buffer, systemBuffer.data(), irp.IoStatus.Information);
        returned = static_cast<uint32_t>(irp.IoStatus.Information);
        return NT_SUCCESS(status);
    }

    CSimulatedCable cable;
    CCalcLinkEnd calc;
    CFakePortvaneSystem system;
    DRIVER_OBJECT driver{};
    bool bLoaded = false;
};

} // namespace

TEST(PortvaneStack, LinkBytesTravelThroughTheDriverOneRequestPerAccess)
{
    CDriverStack stack;
    CFakeClock clock(0, 1);
    CLink link(clock);
    ASSERT_TRUE(link.Open(std::make_unique<CPortvaneBackend>(stack.system), 0x378, link.GetTimeout()))
        << link.GetOpenError();

    ASSERT_TRUE(link.SendByte(0xA5));
    ASSERT_EQ(stack.calc.GetReceived(), std::vector<uint8_t>{0xA5});
    stack.calc.QueueByte(0x3C);
    uint8_t received = 0;
    ASSERT_TRUE(link.ReceiveByte(received));
    EXPECT_EQ(received, 0x3C);

    const uint64_t accesses = stack.cable.GetReadCount() + stack.cable.GetWriteCount();
    EXPECT_EQ(stack.system.controls.size(), accesses);
    EXPECT_EQ(Fake().ports.size(), accesses);
    for (const auto& control : stack.system.controls) {
        EXPECT_TRUE(control.code == 0x22E004 || control.code == 0x22E008) << control.code;
        EXPECT_EQ(control.inLength, 24u);
        EXPECT_EQ(control.outLength, 24u);
    }
    for (const auto& access : Fake().ports) {
        EXPECT_EQ(access.width, 1u);
        EXPECT_EQ(access.port, access.bWrite ? 0x378 : 0x379);
    }
}

TEST(PortvaneStack, ProbePrintsIdentificationAndStatusThenUnloads)
{
    CDriverStack stack(0x278);
    stack.calc.HoldBothLines(true);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunPortvaneProbe(stack.system, {"0x278"}, out, err), 0) << err.str();
    const std::string text = out.str();
    EXPECT_EQ(text.rfind("Portvane Driver (sys)\n", 0), 0u) << text;
    EXPECT_NE(text.find("(Built Sat Jul 14 08:41:06 2001)\n"), std::string::npos) << text;
    const std::string status = "Status register at 0x279: 0x" ;
    EXPECT_NE(text.find(status), std::string::npos) << text;
    EXPECT_NE(text.find("(line D0 low, line D1 low)"), std::string::npos) << text;
    // The probe started the service, so it removed it again.
    EXPECT_FALSE(stack.system.service);
    EXPECT_TRUE(stack.system.openDevices.empty());
}

TEST(PortvaneStack, ProbeReportsAFailedStatusReadInsteadOfAValue)
{
    // The driver refuses the read, or claims success without returning the record.
    for (const bool bRefused : {true, false}) {
        SCOPED_TRACE(bRefused ? "refused" : "no record");
        CDriverStack stack;
        stack.system.onControl = [&stack, bRefused](uint32_t code, void* buffer, uint32_t in, uint32_t out,
                                                    uint32_t& returned) {
            if (code != IOCTL_PORTIO_READ_UCHAR)
                return stack.Control(code, buffer, in, out, returned);
            returned = 0;
            return !bRefused;
        };
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunPortvaneProbe(stack.system, {}, out, err), 1);
        EXPECT_EQ(out.str().rfind("Portvane Driver (sys)\n", 0), 0u) << out.str();
        EXPECT_EQ(out.str().find("Status register"), std::string::npos) << out.str();
        EXPECT_NE(err.str().find("could not read the status register at 0x379"), std::string::npos) << err.str();
        EXPECT_FALSE(stack.system.service);
        EXPECT_TRUE(stack.system.openDevices.empty());
    }
}

TEST(PortvaneStack, ProbeExplainsFailuresAndUsage)
{
    CDriverStack stack;
    stack.system.bManagerDenied = true;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunPortvaneProbe(stack.system, {}, out, err), 1);
    EXPECT_NE(err.str().find("administrator"), std::string::npos) << err.str();

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"lpt1"}, {"0x"}, {"10000"}, {"FFFF"}, {"0"}, {"378", "278"}}) {
        std::ostringstream quiet;
        std::ostringstream message;
        EXPECT_EQ(RunPortvaneProbe(stack.system, args, quiet, message), 2) << args[0];
        EXPECT_FALSE(message.str().empty());
    }
    EXPECT_EQ(ParseProbeBase("378"), std::optional<uint16_t>(0x378));
    EXPECT_EQ(ParseProbeBase("0X2bc"), std::optional<uint16_t>(0x2BC));

    std::ostringstream usage;
    EXPECT_EQ(RunPortvaneProbe(stack.system, {"--help"}, usage, err), 0);
    EXPECT_NE(usage.str().find("usage: portvane-probe"), std::string::npos);
}
