#include "CancellingProgress.h"
#include "FakeClock.h"
#include "link/CableChoice.h"
#include "link/DirectoryListing.h"
#include "link/Link.h"
#include "link/LinkProgress.h"
#include "link/Packets.h"
#include "sim/BuiltInCalculator.h"
#include "text/StringIds.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>

namespace {

// A byte cable that records what is handed to it and hands out what the
// test queued; a read with nothing queued waits its time on the fake clock.
class CScriptedByteCable final : public IByteCable {
public:
    struct Record {
        int opens = 0;
        int closes = 0;
        int purges = 0;
        std::vector<std::vector<uint8_t>> writes;
        std::deque<uint8_t> incoming;
        bool bUnplugged = false;
    };

    CScriptedByteCable(Record& record, CFakeClock& clock) : m_record(record), m_clock(clock) {}

    bool Open(std::string& error) override
    {
        ++m_record.opens;
        m_bFailed = false;
        error = m_record.bUnplugged ? "unplugged" : "";
        return !m_record.bUnplugged;
    }
    void Close() override { ++m_record.closes; }
    int Write(const uint8_t* data, size_t size, uint32_t) override
    {
        if (m_record.bUnplugged)
            return Fail();
        m_record.writes.emplace_back(data, data + size);
        return static_cast<int>(size);
    }
    int Read(uint8_t* data, size_t size, uint32_t waitMs) override
    {
        if (m_record.bUnplugged)
            return Fail();
        size_t n = 0;
        for (; n < size && !m_record.incoming.empty(); ++n) {
            data[n] = m_record.incoming.front();
            m_record.incoming.pop_front();
        }
        if (n == 0)
            m_clock.Advance(waitMs);
        return static_cast<int>(n);
    }
    void Purge() override
    {
        ++m_record.purges;
        m_record.incoming.clear();
    }
    bool NeedsReopen() const override { return m_bFailed; }

private:
    int Fail()
    {
        m_bFailed = true;
        return -1;
    }

    Record& m_record;
    CFakeClock& m_clock;
    bool m_bFailed = false;
};

struct CByteLinkRig {
    CByteLinkRig() : link(clock)
    {
        link.SetProgress(&progress);
        EXPECT_TRUE(link.Open(std::make_unique<CScriptedByteCable>(record, clock), 1000));
    }
    CScriptedByteCable::Record record;
    CFakeClock clock{0, 0};
    CCancellingProgress progress;
    CLink link;
};

} // namespace

TEST(ByteCableLink, APacketGoesOutInOneWriteWhenTheLinkTurnsToReading)
{
    CByteLinkRig rig;
    const uint8_t data[] = {1, 2, 3, 4, 5};
    {
        CLinkExchange exchange(rig.link, IDS_PROGRESS_DIRECTORY, {}, 0);
        rig.record.incoming = {MACHINE_TI92, CMD_ACK, 0, 0, MACHINE_TI92, CMD_ACK, 0, 0};
        ASSERT_TRUE(rig.link.SendSequence(SEQ_RDY));
        EXPECT_TRUE(rig.record.writes.empty());
        ASSERT_TRUE(rig.link.ExpectSequence(SEQ_CALC_ACK));
        ASSERT_TRUE(rig.link.SendSequence(SEQ_ACK));
        ASSERT_TRUE(rig.link.SendBuffer(data, sizeof data));
        ASSERT_TRUE(rig.link.ExpectSequence(SEQ_CALC_ACK));
        ASSERT_TRUE(rig.link.SendSequence(SEQ_EOT));
    }
    // The last packet goes when the exchange ends.
    EXPECT_EQ(rig.record.writes, (std::vector<std::vector<uint8_t>>{
                                     {MACHINE_PC, CMD_RDY, 0, 0},
                                     {MACHINE_PC, CMD_ACK, 0, 0, 1, 2, 3, 4, 5},
                                     {MACHINE_PC, CMD_EOT, 0, 0}}));
    EXPECT_EQ(rig.record.purges, 0);
    EXPECT_EQ(rig.progress.done, 8u + 4u + 5u + 4u + 4u);
}

TEST(ByteCableLink, SilenceTimesOutCancelStopsAndEitherFlushesTheCable)
{
    {
        CByteLinkRig rig;
        CLinkExchange exchange(rig.link, IDS_PROGRESS_DIRECTORY, {}, 0);
        uint8_t byte = 0;
        EXPECT_FALSE(rig.link.ReceiveByte(byte));
        // The configured time-out on the clock, and not much more.
        EXPECT_GT(rig.clock.Peek(), 1000u);
        EXPECT_LT(rig.clock.Peek(), 1000u + 2 * CLink::STALL_POLL_MS);
        EXPECT_FALSE(rig.link.WasCancelled());
    }
    {
        CByteLinkRig rig;
        rig.progress.cancelAtQuestion = 2;
        {
            CLinkExchange exchange(rig.link, IDS_PROGRESS_DIRECTORY, {}, 0);
            uint8_t byte = 0;
            EXPECT_FALSE(rig.link.ReceiveByte(byte));
            EXPECT_TRUE(rig.link.WasCancelled());
            EXPECT_LT(rig.clock.Peek(), 1000u);
            rig.record.incoming = {1, 2};
            EXPECT_FALSE(rig.link.SendByte(1)); // nothing more moves in a cancelled exchange
        }
        EXPECT_GE(rig.record.purges, 1);
        EXPECT_TRUE(rig.record.incoming.empty());
        EXPECT_TRUE(rig.record.writes.empty());
    }
}

TEST(ByteCableLink, ACableThatFailedIsOpenedAgainByTheNextExchange)
{
    CByteLinkRig rig;
    uint8_t byte = 0;
    {
        CLinkExchange exchange(rig.link, IDS_PROGRESS_DIRECTORY, {}, 0);
        rig.record.bUnplugged = true;
        EXPECT_FALSE(rig.link.ReceiveByte(byte));
        EXPECT_LT(rig.clock.Peek(), 1000u); // a failed cable is not waited on
    }
    // Still unplugged: the next exchange fails at once too; plugged back in, it works.
    {
        CLinkExchange exchange(rig.link, IDS_PROGRESS_DIRECTORY, {}, 0);
        EXPECT_FALSE(rig.link.ReceiveByte(byte));
    }
    rig.record.bUnplugged = false;
    {
        CLinkExchange exchange(rig.link, IDS_PROGRESS_DIRECTORY, {}, 0);
        rig.record.incoming = {0x42};
        EXPECT_TRUE(rig.link.ReceiveByte(byte));
        EXPECT_EQ(byte, 0x42);
    }
    EXPECT_EQ(rig.record.opens, 3);
    EXPECT_EQ(rig.record.closes, 2);
}

// An adapter or the USB cable pulled out in the middle of a listing, and
// plugged back in: the listing fails, and the next one opens the port again
// and works.
TEST(ByteCableLink, EitherSerialCableWorksAgainOncePluggedBackIn)
{
    struct CUnplugging final : ILinkProgress {
        CSimulatedCable* pCable = nullptr;
        void ExchangeStarted(int, const std::string&, uint64_t) override {}
        void BytesMoved(uint64_t done) override
        {
            if (done == 20 && pCable != nullptr)
                pCable->SetOpenFailure(true);
        }
        bool IsCancelRequested() override { return false; }
        void ExchangeEnded() override {}
    };
    for (CableKind cable : {CableKind::BlackSerial, CableKind::GraySerial, CableKind::Usb}) {
        CBuiltInCalculator calc(0x378);
        CFakeClock clock(0, 1);
        CLink link(clock);
        CUnplugging unplugging;
        unplugging.pCable = &calc.GetCable();
        ChooseCable(link, cable, 0x378, cable == CableKind::Usb ? "" : "/dev/ttyUSB0", calc);
        ASSERT_TRUE(link.Open(0x378, 1000));
        link.SetProgress(&unplugging);
        CDirectoryListing listing;
        EXPECT_FALSE(listing.ReadDirectory(link)) << CableWord(cable);
        // Only the USB cable can tell an unplugged cable from a silent one.
        EXPECT_EQ(link.DescribeCableFailure().empty(), cable != CableKind::Usb);
        calc.GetCable().SetOpenFailure(false);
        unplugging.pCable = nullptr;
        link.SetProgress(nullptr);
        EXPECT_TRUE(listing.ReadDirectory(link)) << CableWord(cable);
        EXPECT_EQ(listing.m_vars.size(), 9u);
    }
}

// A user who never chose a cable gets the USB link cable only when it is the
// one cable there: no parallel port opens, and exactly one good USB cable.
TEST(CableChoice, TheUsbCableIsGuessedOnlyWhenItIsTheOneCableThere)
{
    struct CNoPort final : IPortBackend {
        bool Open(std::string& error) override
        {
            error = "no port";
            return false;
        }
        void Close() override {}
        uint8_t ReadByte(uint16_t) override { return 0; }
        void WriteByte(uint16_t, uint8_t) override {}
    };
    struct CParts final : ICableParts {
        CBuiltInCalculator calc{0x378};
        bool bParallel = false;
        std::unique_ptr<IPortBackend> MakeParallelPort(uint16_t base) override
        {
            return bParallel ? calc.MakeParallelPort(base) : std::make_unique<CNoPort>();
        }
        std::unique_ptr<ISerialDevice> MakeSerialPort(const std::string& name) override
        {
            return calc.MakeSerialPort(name);
        }
        std::unique_ptr<IUsbBus> MakeUsbBus() override { return calc.MakeUsbBus(); }
    };
    const struct {
        bool bParallel;
        bool bUsbPlugged;
        uint16_t product;
        CableKind guessed;
    } rows[] = {
        {false, true, USB_PRODUCT_LINK_CABLE, CableKind::Usb},
        {true, true, USB_PRODUCT_LINK_CABLE, CableKind::Parallel},
        {false, true, USB_PRODUCT_DAMAGED_EEPROM, CableKind::Parallel},
        {false, false, USB_PRODUCT_LINK_CABLE, CableKind::Parallel},
    };
    for (const auto& row : rows) {
        CParts parts;
        parts.bParallel = row.bParallel;
        parts.calc.GetUsbCable().SetProduct(row.product);
        parts.calc.GetCable().SetOpenFailure(!row.bUsbPlugged);
        EXPECT_EQ(GuessUnchosenCable(0x378, parts), row.guessed) << row.bParallel << row.bUsbPlugged << row.product;
    }
}
