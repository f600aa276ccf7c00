// The serial cables, measured through the simulated calculator:
//  - the black cable: modem-line requests per byte each way, beside the
//    parallel cable's port accesses for the same bytes (each request may be
//    a USB round trip, so it must need no more);
//  - the gray cable: the writes it hands the port against the packets the PC
//    sends, over a directory listing, a receive and a send of a big variable;
//  - the gray cable on a pseudo-terminal, the real termios code on the PC's
//    side and the calculator on the other: the time per byte of receiving a
//    60,000-byte variable, elapsed and as the PC side's own processor time.
#include "BenchSupport.h"
#include "link/Link.h"
#include "link/Packets.h"
#include "PcScripts.h"
#include "port/BlackCableBackend.h"
#include "port/GrayCable.h"
#include "port/LinuxSerialDevice.h"
#include "sim/SimulatedSerialPort.h"
#include "sim/VirtualCalculator.h"
#include "sim/tools/PtyPump.h"

#include <atomic>
#include <cstdio>
#include <ctime>
#include <thread>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int BYTES_EACH_WAY = 65536; // as bench_link moves
constexpr size_t BIG_BYTES = 60000;
constexpr uint8_t TEXT_TYPE = 0x0B;

// Passes everything on to the simulated port and keeps what is written.
class CRecordingPort final : public ISerialDevice {
public:
    explicit CRecordingPort(std::unique_ptr<ISerialDevice> port) : m_port(std::move(port)) {}
    bool Open(SerialMode mode, std::string& error) override { return m_port->Open(mode, error); }
    void Close() override { m_port->Close(); }
    const std::string& GetName() const override { return m_port->GetName(); }
    bool SetLines(bool rts, bool dtr) override { return m_port->SetLines(rts, dtr); }
    bool GetLines(bool& cts, bool& dsr) override { return m_port->GetLines(cts, dsr); }
    int Write(const uint8_t* data, size_t size, uint32_t waitMs) override
    {
        ++writes;
        written.insert(written.end(), data, data + size);
        return m_port->Write(data, size, waitMs);
    }
    int Read(uint8_t* data, size_t size, uint32_t waitMs) override { return m_port->Read(data, size, waitMs); }
    void Purge() override { m_port->Purge(); }

    size_t writes = 0;
    std::vector<uint8_t> written;

private:
    std::unique_ptr<ISerialDevice> m_port;
};

pc::Bytes BigContents()
{
    pc::Bytes big(BIG_BYTES);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<uint8_t>(i * 31 + 7);
    return big;
}

// The calculator on the pseudo-terminal's far side, until `stop`.
void ServeCalculator(int master, CVirtualCalculator& calc, const std::atomic<bool>& stop)
{
    CPtyPump pump(master, calc);
    while (!stop)
        pump.Step(5);
}

} // namespace

int main()
{
    // Black against parallel: the same bytes each way through the same calculator end.
    for (int black = 0; black < 2; ++black) {
        CSimulatedCable cable;
        CCalcLinkEnd calc;
        cable.SetPeer(&calc);
        auto owned = std::make_unique<CSimulatedSerialPort>(cable, calc, "/dev/ttyS0");
        CSimulatedSerialPort& port = *owned;
        CLink link;
        std::unique_ptr<IPortBackend> backend = cable.MakeBackend();
        if (black)
            backend = std::make_unique<CBlackCableBackend>(std::move(owned), cable.GetBase());
        if (!OpenLink(link, std::move(backend), cable.GetBase()))
            return 1;
        const auto count = [&] {
            return black ? static_cast<double>(port.GetLineCalls())
                         : static_cast<double>(cable.GetReadCount() + cable.GetWriteCount());
        };
        const double start = count();
        bool ok = true;
        for (int i = 0; i < BYTES_EACH_WAY && ok; ++i)
            ok = link.SendByte(static_cast<uint8_t>(i));
        const double sent = count();
        calc.QueueBytes(std::vector<uint8_t>(BYTES_EACH_WAY, 0xA5));
        for (int i = 0; i < BYTES_EACH_WAY && ok; ++i) {
            uint8_t value = 0;
            ok = link.ReceiveByte(value) && value == 0xA5;
        }
        if (!ok)
            return 1;
        std::printf("%s cable: %.0f port accesses per byte sent, %.0f per byte received\n",
                    black ? "black" : "parallel", (sent - start) / BYTES_EACH_WAY, (count() - sent) / BYTES_EACH_WAY);
    }

    // Gray: writes against packets.
    {
        CSimulatedCable cable;
        CVirtualCalculator calc;
        calc.LoadSampleContent();
        const pc::Bytes big = BigContents();
        calc.AddVariable("main", "big", TEXT_TYPE, 0, big);
        auto owned = std::make_unique<CRecordingPort>(std::make_unique<CSimulatedSerialPort>(cable, calc, "COM1"));
        CRecordingPort& port = *owned;
        CLink link;
        if (!link.Open(std::make_unique<CGrayCable>(std::move(owned)), 1000))
            return 1;
        const auto entries = pc::ListDirectory(link);
        const auto received = pc::RequestVariable(link, "main\\big", TEXT_TYPE);
        const bool sent = received && pc::SendVariable(link, "main\\copy", TEXT_TYPE, *received);
        link.Close();
        if (!entries || !received || !sent) {
            std::fprintf(stderr, "gray cable: exchange failed\n");
            return 1;
        }
        std::printf("gray cable: %zu writes for %zu packets sent (listing, receive and send of %zu bytes)\n",
                    port.writes, CountPackets(port.written), BIG_BYTES);
    }

    // Gray on a pseudo-terminal: the real serial code.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        return 1;
    const std::string path = ptsname(master);
    const int keep = open(path.c_str(), O_RDWR | O_NOCTTY);
    termios raw{};
    tcgetattr(master, &raw);
    cfmakeraw(&raw);
    tcsetattr(master, TCSANOW, &raw);
    CVirtualCalculator calc;
    calc.AddVariable("main", "big", TEXT_TYPE, 0, BigContents());
    std::atomic<bool> stop{false};
    std::thread calculator(ServeCalculator, master, std::ref(calc), std::cref(stop));
    CLink link;
    bool ok = link.Open(std::make_unique<CGrayCable>(std::make_unique<CLinuxSerialDevice>(RealLinuxSerialSystem(), path)),
                        1000);
    const auto start = BenchClock::now();
    const double cpuStart = ThreadCpuNs();
    const auto received = ok ? pc::RequestVariable(link, "main\\big", TEXT_TYPE) : std::nullopt;
    const double cpu = ThreadCpuNs() - cpuStart;
    const double elapsed = ElapsedSince<std::nano>(start);
    link.Close();
    stop = true;
    calculator.join();
    close(keep);
    close(master);
    if (!received || received->size() != BIG_BYTES + 6) {
        std::fprintf(stderr, "gray cable on %s: receive failed\n", path.c_str());
        return 1;
    }
    std::printf("gray cable on a pseudo-terminal: %.0f ns elapsed and %.0f ns of the PC side's processor time "
                "per byte received (%zu bytes)\n",
                elapsed / static_cast<double>(BIG_BYTES), cpu / static_cast<double>(BIG_BYTES), BIG_BYTES);
    return 0;
}
