// The USB link cable, measured through the simulated calculator behind the
// simulated USB cable, with the real cable code on the PC's side:
//  - the bulk transfers of receiving a 60,000-byte variable: IN transfers
//    against ceil(bytes / 32) + 2 for each packet the calculator sent, OUT
//    transfers against the packets the PC sent (it fails when either is
//    over); also with every seventh IN transfer coming back empty, as the
//    real cable's may, which the link asks again;
//  - the PC side's processor time per byte received: the whole receive's
//    less the time spent inside the simulated cable and calculator, and
//    less what reading the thread's clock around each transfer costs (a
//    system call of some hundred nanoseconds, measured here first).
#include "BenchSupport.h"
#include "link/Link.h"
#include "PcScripts.h"
#include "port/UsbCable.h"
#include "sim/SimulatedUsbCable.h"
#include "sim/VirtualCalculator.h"

#include <cstdio>

namespace {

constexpr size_t BIG_BYTES = 60000;
constexpr uint8_t TEXT_TYPE = 0x0B;

// What passes through the cable's transfers, and the processor time spent
// below them.
struct TransferLog {
    std::vector<uint8_t> in;
    std::vector<uint8_t> out;
    uint64_t inTransfers = 0;
    uint64_t outTransfers = 0;
    double belowNs = 0;
};

class CLoggingDevice final : public IUsbDevice {
public:
    CLoggingDevice(std::unique_ptr<IUsbDevice> device, TransferLog& log) : m_pDevice(std::move(device)), m_log(log) {}
    bool Open(std::string& error) override { return m_pDevice->Open(error); }
    void Close() override { m_pDevice->Close(); }
    size_t GetMaxPacketSize() const override { return m_pDevice->GetMaxPacketSize(); }
    UsbResult BulkOut(const uint8_t* data, size_t size, uint32_t timeoutMs, size_t& done) override
    {
        const double start = ThreadCpuNs();
        const UsbResult result = m_pDevice->BulkOut(data, size, timeoutMs, done);
        return Log(start, result, data, done, m_log.outTransfers, m_log.out);
    }
    UsbResult BulkIn(uint8_t* data, size_t size, uint32_t timeoutMs, size_t& done) override
    {
        const double start = ThreadCpuNs();
        const UsbResult result = m_pDevice->BulkIn(data, size, timeoutMs, done);
        return Log(start, result, data, done, m_log.inTransfers, m_log.in);
    }
    void Reset() override { m_pDevice->Reset(); }

private:
    // A transfer begun at `start` has just ended: its time is not the PC side's.
    UsbResult Log(double start, UsbResult result, const uint8_t* data, size_t done, uint64_t& transfers,
                  std::vector<uint8_t>& bytes)
    {
        m_log.belowNs += ThreadCpuNs() - start;
        ++transfers;
        bytes.insert(bytes.end(), data, data + done);
        return result;
    }

    std::unique_ptr<IUsbDevice> m_pDevice;
    TransferLog& m_log;
};

class CLoggingBus final : public IUsbBus {
public:
    CLoggingBus(std::unique_ptr<IUsbBus> bus, TransferLog& log) : m_pBus(std::move(bus)), m_log(log) {}
    std::vector<UsbCableEntry> ListCables(std::string& problem) override { return m_pBus->ListCables(problem); }
    std::unique_ptr<IUsbDevice> MakeDevice(const UsbCableEntry& entry) override
    {
        return std::make_unique<CLoggingDevice>(m_pBus->MakeDevice(entry), m_log);
    }

private:
    std::unique_ptr<IUsbBus> m_pBus;
    TransferLog& m_log;
};

// What one reading of the thread's processor-time clock costs.
double ClockReadingNs()
{
    constexpr int READINGS = 100000;
    const double start = ThreadCpuNs();
    for (int i = 0; i < READINGS; ++i)
        ThreadCpuNs();
    return (ThreadCpuNs() - start) / READINGS;
}

// Receives the big variable; false when the exchange failed or the
// transfers went over their bound.
bool MeasureReceive(uint32_t emptyReadEvery)
{
    CSimulatedCable cable;
    CVirtualCalculator calc;
    pc::Bytes big(BIG_BYTES);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<uint8_t>(i * 31 + 7);
    calc.AddVariable("main", "big", TEXT_TYPE, 0, big);
    CSimulatedUsbCable usb(cable, calc);
    usb.SetEmptyReadEvery(emptyReadEvery);
    TransferLog log;
    CLink link;
    if (!link.Open(std::make_unique<CUsbCable>(std::make_unique<CLoggingBus>(usb.MakeBus(), log), ""), 1000))
        return false;
    const auto start = BenchClock::now();
    const double cpuStart = ThreadCpuNs();
    const auto received = pc::RequestVariable(link, "main\\big", TEXT_TYPE);
    link.Close();
    const double cpu = ThreadCpuNs() - cpuStart;
    const double elapsed = ElapsedSince<std::nano>(start);
    // Of the two readings around a transfer, about one falls outside it.
    const double clockNs = ClockReadingNs() * static_cast<double>(log.inTransfers + log.outTransfers);
    if (!received || received->size() != BIG_BYTES + 6) {
        std::fprintf(stderr, "usb cable: receive failed\n");
        return false;
    }
    const size_t calcPackets = CountPackets(log.in);
    const size_t pcPackets = CountPackets(log.out);
    const uint64_t inBound = (log.in.size() + USB_CABLE_PACKET - 1) / USB_CABLE_PACKET + 2 * calcPackets;
    std::printf("usb cable%s: %llu IN transfers for %zu bytes in %zu packets (%s %llu), %llu OUT transfers for "
                "%zu packets sent\n",
                emptyReadEvery ? ", every 7th read empty" : "", static_cast<unsigned long long>(log.inTransfers),
                log.in.size(), calcPackets, emptyReadEvery ? "without empty reads at most" : "at most",
                static_cast<unsigned long long>(inBound), static_cast<unsigned long long>(log.outTransfers), pcPackets);
    if (emptyReadEvery == 0)
        std::printf("usb cable: %.0f ns of the PC side's processor time per byte received (%.0f ns with the simulated "
                    "cable and calculator, %.0f ns elapsed with the clock readings)\n",
                    (cpu - log.belowNs - clockNs) / static_cast<double>(BIG_BYTES),
                    (cpu - 2 * clockNs) / static_cast<double>(BIG_BYTES), elapsed / static_cast<double>(BIG_BYTES));
    // Empty reads are over and above the bound; they cost no bytes.
    if ((emptyReadEvery == 0 && log.inTransfers > inBound) || log.outTransfers > pcPackets) {
        std::fprintf(stderr, "usb cable: more transfers than the bound\n");
        return false;
    }
    return true;
}

} // namespace

int main()
{
    return MeasureReceive(0) && MeasureReceive(7) ? 0 : 1;
}
