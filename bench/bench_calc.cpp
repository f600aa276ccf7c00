// Runs the PC's exchanges against the virtual TI-92 over the simulated cable
// and prints how long each takes: a directory listing of 1,000 entries,
// receiving a 65,000-byte variable, sending it back, and a screen capture.
// Last comes the worst software cost per port access over the four, which
// covers the PC's side and the calculator's reaction to every access.
#include "BenchSupport.h"
#include "link/Link.h"
#include "link/Packets.h"
#include "sim/SimulatedCable.h"
#include "sim/VirtualCalculator.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kFolders = 10;
constexpr int kVariablesPerFolder = 99; // with the folders, 1,000 entries
constexpr size_t kContentBytes = 65000;
constexpr uint8_t kTextType = 0x0B;

class CPcSide {
public:
    explicit CPcSide(CSimulatedCable& cable)
    {
        OpenLink(m_link, cable.MakeBackend(), cable.GetBase());
    }

    bool Send(const Bytes& bytes)
    {
        return std::all_of(bytes.begin(), bytes.end(), [this](uint8_t b) { return m_link.SendByte(b); });
    }
    bool Send(const uint8_t* counted) { return m_link.SendSequence(counted); }
    bool Expect(const uint8_t* counted) { return m_link.ExpectSequence(counted); }

    // A data packet read by its length; its data, or nothing on a failure
    // or a bad checksum.
    bool ReceiveData(Bytes& data)
    {
        uint8_t header[4];
        for (uint8_t& b : header)
            if (!m_link.ReceiveByte(b))
                return false;
        data.resize(static_cast<size_t>(header[2] | (header[3] << 8)));
        for (uint8_t& b : data)
            if (!m_link.ReceiveByte(b))
                return false;
        uint8_t checksum[2];
        if (!m_link.ReceiveByte(checksum[0]) || !m_link.ReceiveByte(checksum[1]))
            return false;
        return MakeChecksum(data.data(), data.size()) == (checksum[0] | (checksum[1] << 8));
    }

    uint8_t ReceiveCommand()
    {
        uint8_t header[4] = {};
        for (uint8_t& b : header)
            if (!m_link.ReceiveByte(b))
                return 0;
        return header[1];
    }

    static Bytes Packet(uint8_t command, const Bytes& data)
    {
        Bytes packet{MACHINE_PC, command};
        AppendLittleEndian16(packet, static_cast<uint16_t>(data.size()));
        packet.insert(packet.end(), data.begin(), data.end());
        AppendLittleEndian16(packet, MakeChecksum(data.data(), data.size()));
        return packet;
    }

    static Bytes Header(uint32_t size, uint8_t type, const std::string& path)
    {
        Bytes data{static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8), 0, 0, type,
                   static_cast<uint8_t>(path.size())};
        data.insert(data.end(), path.begin(), path.end());
        return data;
    }

    size_t ListDirectory()
    {
        Bytes data;
        if (!Send(SEQ_RDY) || !Expect(SEQ_CALC_ACK) || !Send(SEQ_DIR_REQ) || !Expect(SEQ_CALC_ACK) ||
            !ReceiveData(data))
            return 0;
        for (size_t entries = 1;; ++entries) {
            if (!Send(SEQ_ACK) || !Send(SEQ_CTS) || !Expect(SEQ_CALC_ACK) || !ReceiveData(data) ||
                !Send(SEQ_ACK))
                return 0;
            const uint8_t closing = ReceiveCommand();
            if (closing == CMD_EOT)
                return Send(SEQ_ACK) ? entries : 0;
            if (closing != CMD_CONT)
                return 0;
        }
    }

    bool ReceiveVariable(const std::string& path, uint8_t type, Bytes& section)
    {
        Bytes header;
        return Send(SEQ_RDY) && Expect(SEQ_CALC_ACK) && Send(Packet(CMD_REQ, Header(0, type, path))) &&
               Expect(SEQ_CALC_ACK) && ReceiveData(header) && Send(SEQ_ACK) && Send(SEQ_CTS) &&
               Expect(SEQ_CALC_ACK) && ReceiveData(section) && Send(SEQ_ACK) && ReceiveCommand() == CMD_EOT &&
               Send(SEQ_ACK);
    }

    bool SendVariable(const std::string& path, uint8_t type, const Bytes& section)
    {
        return Send(SEQ_RDY) && Expect(SEQ_CALC_ACK) &&
               Send(Packet(CMD_VAR, Header(static_cast<uint32_t>(section.size()), type, path))) &&
               Expect(SEQ_CALC_ACK) && Expect(SEQ_CALC_CTS) && Send(SEQ_ACK) && Send(Packet(CMD_DATA, section)) &&
               Expect(SEQ_CALC_ACK) && Send(SEQ_EOT) && Expect(SEQ_CALC_ACK);
    }

    bool CaptureScreen(Bytes& screen) { return Send(SEQ_SCREEN) && Expect(SEQ_CALC_ACK) && ReceiveData(screen); }

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
    for (int f = 0; f < kFolders; ++f) {
        const std::string folder = f == 0 ? "main" : "dir" + std::to_string(f);
        for (int v = 0; v < kVariablesPerFolder; ++v)
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
    Bytes big(kContentBytes);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<uint8_t>(i * 31 + 7);
    ok = ok && calc.AddVariable("main", "big", kTextType, 0, big);

    Bytes received;
    const Figures receive = Measure(cable, [&] { return pc.ReceiveVariable("main\\big", kTextType, received); }, ok);
    ok = ok && received.size() == kContentBytes + 6 && std::equal(big.begin(), big.end(), received.begin() + 6);

    const Figures send = Measure(cable, [&] { return pc.SendVariable("dir1\\copy", kTextType, received); }, ok);
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
