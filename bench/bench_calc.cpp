// Runs the PC's exchanges against the virtual TI-92 over the simulated cable
// and prints how long each takes: a directory listing of 1,000 entries,
// receiving a 65,000-byte variable, sending it back, and a screen capture.
// Last comes the worst software cost per port access over the four, which
// covers the PC's side and the calculator's reaction to every access.
#include "BenchSupport.h"
#include "link/Link.h"
#include "link/Packets.h"
#include "PcScripts.h"
#include "sim/SimulatedCable.h"
#include "sim/VirtualCalculator.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using pc::Bytes;

constexpr int FOLDERS = 10;
constexpr int VARIABLES_PER_FOLDER = 99; // with the folders, 1,000 entries
constexpr size_t CONTENT_BYTES = 65000;
constexpr uint8_t TEXT_TYPE = 0x0B;

// The PC's end of the cable, running the same scripts as the tests of the
// virtual calculator.
class CPcSide {
public:
    explicit CPcSide(CSimulatedCable& cable) { OpenLink(m_link, cable.MakeBackend(), cable.GetBase()); }

    size_t ListDirectory()
    {
        const auto entries = pc::ListDirectory(m_link);
        return entries ? entries->size() : 0;
    }

    bool ReceiveVariable(const std::string& path, uint8_t type, Bytes& section)
    {
        auto received = pc::RequestVariable(m_link, path, type);
        if (!received)
            return false;
        section = std::move(*received);
        return true;
    }

    bool SendVariable(const std::string& path, uint8_t type, const Bytes& section)
    {
        return pc::SendVariable(m_link, path, type, section);
    }

    bool CaptureScreen(Bytes& screen)
    {
        if (!pc::Send(m_link, SEQ_SCREEN) || !m_link.ExpectSequence(SEQ_CALC_ACK))
            return false;
        const Bytes packet = pc::ReceiveDataPacket(m_link);
        if (!pc::ChecksumHolds(packet))
            return false;
        screen.assign(packet.begin() + 4, packet.end() - 2);
        return true;
    }

private:
    CLink m_link;
};

struct Figures {
    double ms = 0;
    double nsPerAccess = 0;
};

Figures Measure(CSimulatedCable& cable, const std::function<bool()>& work, bool& ok)
{
    cable.ResetCounts();
    const auto start = BenchClock::now();
    ok = ok && work();
    const double ns = ElapsedSince<std::nano>(start);
    const double accesses = static_cast<double>(cable.GetReadCount() + cable.GetWriteCount());
    return {ns / 1e6, accesses > 0 ? ns / accesses : 0};
}

// 10 folders of 99 variables: 1,000 entries.
void FillListing(CVirtualCalculator& calc)
{
    for (int f = 0; f < FOLDERS; ++f) {
        const std::string folder = f == 0 ? "main" : "dir" + std::to_string(f);
        for (int v = 0; v < VARIABLES_PER_FOLDER; ++v)
            calc.AddVariable(folder, "var" + std::to_string(v), 0x00, 0, {static_cast<uint8_t>(v), 0x01, 0x1F});
    }
}

} // namespace

int main()
{
    bool ok = true;

    CSimulatedCable listingCable;
    CVirtualCalculator listing;
    FillListing(listing);
    listingCable.SetPeer(&listing);
    CPcSide listingPc(listingCable);
    size_t entries = 0;
    const Figures dir = Measure(listingCable, [&] { return (entries = listingPc.ListDirectory()) == 1000; }, ok);

    CSimulatedCable cable;
    CVirtualCalculator calc;
    cable.SetPeer(&calc);
    CPcSide pc(cable);
    Bytes big(CONTENT_BYTES);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<uint8_t>(i * 31 + 7);
    ok = ok && calc.AddVariable("main", "big", TEXT_TYPE, 0, big);

    Bytes received;
    const Figures receive = Measure(cable, [&] { return pc.ReceiveVariable("main\\big", TEXT_TYPE, received); }, ok);
    ok = ok && received.size() == CONTENT_BYTES + 6 && std::equal(big.begin(), big.end(), received.begin() + 6);

    const Figures send = Measure(cable, [&] { return pc.SendVariable("dir1\\copy", TEXT_TYPE, received); }, ok);
    const SimVariable* copy = calc.FindVariable("dir1", "copy");
    ok = ok && copy != nullptr && copy->contents == big;

    Bytes screen;
    const Figures capture = Measure(cable, [&] { return pc.CaptureScreen(screen); }, ok);
    ok = ok && std::equal(screen.begin(), screen.end(), calc.Screen().begin(), calc.Screen().end());

    if (!ok) {
        std::fprintf(stderr, "an exchange failed (the listing gave %zu entries)\n", entries);
        return 1;
    }
    std::printf("dir 1000 entries ms: %.1f\n", dir.ms);
    std::printf("receive 65000 bytes ms: %.1f\n", receive.ms);
    std::printf("send 65000 bytes ms: %.1f\n", send.ms);
    std::printf("screen ms: %.1f\n", capture.ms);
    std::printf("worst ns per port access: %.1f\n",
                std::max({dir.nsPerAccess, receive.nsPerAccess, send.nsPerAccess, capture.nsPerAccess}));
    return 0;
}
