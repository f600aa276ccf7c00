#include "port/PortIo.h"
#include "sim/SimulatedCable.h"

#include <gtest/gtest.h>

TEST(PortIo, WithoutAnOpenDeviceNothingReachesThePort)
{
    CSimulatedCable cable;
    CPortIo port(cable.MakeBackend());

    EXPECT_EQ(port.ReadPortByte(0x379), 0);
    EXPECT_EQ(port.WritePortByte(0x378, 3), 0);
    EXPECT_EQ(cable.GetReadCount() + cable.GetWriteCount(), 0u);

    ASSERT_TRUE(port.OpenDriver());
    port.CloseDriver();
    EXPECT_EQ(port.ReadPortByte(0x379), 0);
    EXPECT_EQ(port.WritePortByte(0x378, 3), 0);
    EXPECT_EQ(cable.GetReadCount() + cable.GetWriteCount(), 0u);
}

TEST(PortIo, ReadsAndWritesGoToTheAddressesGiven)
{
    for (uint16_t base : {uint16_t{0x378}, uint16_t{0x278}}) {
        CSimulatedCable cable(base);
        cable.SetLogging(true);
        CPortIo port(cable.MakeBackend());
        ASSERT_TRUE(port.OpenDriver());

        EXPECT_EQ(port.WritePortByte(base, 2), 1);
        const uint8_t status = port.ReadPortByte(static_cast<uint16_t>(base + 1));

        ASSERT_EQ(cable.GetLog().size(), 2u);
        EXPECT_TRUE(cable.GetLog()[0].bWrite);
        EXPECT_EQ(cable.GetLog()[0].port, base);
        EXPECT_FALSE(cable.GetLog()[1].bWrite);
        EXPECT_EQ(cable.GetLog()[1].port, base + 1);
        // The PC pulls line D0 (bit 5 low), line D1 stays high (bit 4).
        EXPECT_EQ(status & 0x30, 0x10);
    }
}

TEST(PortIo, FailedOpenKeepsTheReasonAndStaysClosed)
{
    CSimulatedCable cable;
    cable.SetOpenFailure(true);
    CPortIo port(cable.MakeBackend());
    EXPECT_FALSE(port.OpenDriver());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.GetLastError().empty());
    EXPECT_EQ(port.WritePortByte(0x378, 1), 0);

    CPortIo none;
    EXPECT_FALSE(none.OpenDriver());
    EXPECT_FALSE(none.GetLastError().empty());
}

namespace {
class CCountingBackend final : public IPortBackend {
public:
    explicit CCountingBackend(int& closes) : m_closes(closes) {}
    bool Open(std::string&) override { return true; }
    void Close() override { ++m_closes; }
    uint8_t ReadByte(uint16_t) override { return 0x55; }
    void WriteByte(uint16_t, uint8_t) override {}

private:
    int& m_closes;
};
} // namespace

TEST(PortIo, DestructorClosesOnlyWhatIsStillOpen)
{
    int closes = 0;
    {
        CPortIo port(std::make_unique<CCountingBackend>(closes));
        ASSERT_TRUE(port.OpenDriver());
        EXPECT_EQ(port.ReadPortByte(0x379), 0x55);
        port.CloseDriver();
    }
    EXPECT_EQ(closes, 1);
    {
        CPortIo port(std::make_unique<CCountingBackend>(closes));
        ASSERT_TRUE(port.OpenDriver());
    }
    EXPECT_EQ(closes, 2);
}
