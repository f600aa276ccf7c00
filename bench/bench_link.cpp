// Moves 65,536 bytes each way over the simulated cable with a calculator that
// answers at once, and prints the port accesses per byte and the software's
// own cost per port access.
#include "BenchSupport.h"
#include "link/Link.h"
#include "sim/CalcLinkEnd.h"
#include "sim/SimulatedCable.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int BYTES_EACH_WAY = 65536;

struct Figures {
    double accessesPerByte;
    double nsPerAccess;
};

template <typename Work>
Figures Measure(CSimulatedCable& cable, Work work)
{
    cable.ResetCounts();
    const auto start = BenchClock::now();
    work();
    const double ns = ElapsedSince<std::nano>(start);
    const double accesses = static_cast<double>(cable.GetReadCount() + cable.GetWriteCount());
    return {accesses / BYTES_EACH_WAY, ns / accesses};
}

} // namespace

int main()
{
    CSimulatedCable cable;
    CCalcLinkEnd calc;
    cable.SetPeer(&calc);
    CLink link;
    if (!OpenLink(link, cable.MakeBackend(), cable.GetBase()))
        return 1;

    bool ok = true;
    const Figures send = Measure(cable, [&] {
        for (int i = 0; i < BYTES_EACH_WAY && ok; ++i)
            ok = link.SendByte(static_cast<uint8_t>(i * 31));
    });
    if (!ok || calc.GetReceived().size() != BYTES_EACH_WAY) {
        std::fprintf(stderr, "send failed\n");
        return 1;
    }

    std::vector<uint8_t> outgoing(BYTES_EACH_WAY);
    for (int i = 0; i < BYTES_EACH_WAY; ++i)
        outgoing[i] = static_cast<uint8_t>(i * 17 + 3);
    calc.QueueBytes(outgoing);
    int mismatches = 0;
    const Figures receive = Measure(cable, [&] {
        for (int i = 0; i < BYTES_EACH_WAY && ok; ++i) {
            uint8_t value = 0;
            ok = link.ReceiveByte(value);
            mismatches += value != outgoing[i];
        }
    });
    if (!ok || mismatches != 0) {
        std::fprintf(stderr, "receive failed\n");
        return 1;
    }

    std::printf("send port accesses per byte: %.0f\n", send.accessesPerByte);
    std::printf("receive port accesses per byte: %.0f\n", receive.accessesPerByte);
    std::printf("send ns per port access: %.1f\n", send.nsPerAccess);
    std::printf("receive ns per port access: %.1f\n", receive.nsPerAccess);
    std::printf("worst ns per port access: %.1f\n", std::max(send.nsPerAccess, receive.nsPerAccess));
    return 0;
}
