// Receives a 65,000-byte variable from the simulated calculator into a file
// and sends the file back, and prints how long each operation takes as the
// receive and send buttons run it, and how much of that is spent outside the
// cable exchange: creating, writing and replacing the file, and opening,
// checking and reading it. Then the same for a backup of the calculator's
// memory into a .92b file and its restore, scaled to 64 KB of backup.
//
// The exchange is the span from the operation's first port access to its
// last. Runs are deterministic in their number of port accesses, so a first
// run counts them and the timed runs take the clock at those two accesses
// only, leaving the exchange itself unslowed. Medians of several runs.
#include "BenchSupport.h"
#include "link/DirEntries.h"
#include "link/Link.h"
#include "link/VarTypes.h"
#include "sim/CalcBackupImage.h"
#include "sim/SimulatedCable.h"
#include "sim/VirtualCalculator.h"
#include "text/UserMessages.h"
#include "transfer/BackupOperation.h"
#include "transfer/ReceiveOperation.h"
#include "transfer/SendOperation.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

namespace {

constexpr size_t CONTENT_BYTES = 65000;
constexpr int RUNS = 5;

// Answers every question with yes and shows nothing.
class CQuietMessages final : public IUserMessages {
public:
    void ShowMessage(int, const std::string&) override {}
    void ShowText(const std::string&) override {}
    bool AskYesNo(int, const std::string&) override { return true; }
    int AskText(int, int, std::string&) override { return 2; }
};

// Passes every access on and takes the time at the first and at a chosen one.
class CMarkingBackend final : public IPortBackend {
public:
    explicit CMarkingBackend(std::unique_ptr<IPortBackend> inner) : m_inner(std::move(inner)) {}

    bool Open(std::string& error) override { return m_inner->Open(error); }
    void Close() override { m_inner->Close(); }
    uint8_t ReadByte(uint16_t port) override
    {
        Mark();
        return m_inner->ReadByte(port);
    }
    void WriteByte(uint16_t port, uint8_t value) override
    {
        Mark();
        m_inner->WriteByte(port, value);
    }

    void Start(uint64_t lastAccess)
    {
        m_nAccesses = 0;
        m_nLast = lastAccess;
    }
    uint64_t GetAccesses() const { return m_nAccesses; }
    double ExchangeMs() const { return Elapsed<std::milli>(m_first, m_last); }

private:
    void Mark()
    {
        ++m_nAccesses;
        if (m_nAccesses == 1)
            m_first = BenchClock::now();
        if (m_nAccesses == m_nLast)
            m_last = BenchClock::now();
    }

    std::unique_ptr<IPortBackend> m_inner;
    uint64_t m_nAccesses = 0;
    uint64_t m_nLast = std::numeric_limits<uint64_t>::max();
    BenchClock::time_point m_first;
    BenchClock::time_point m_last;
};

struct Timing {
    double wholeMs = 0;
    double outsideMs = 0;
};

// Median whole time and median time outside the exchange of `operation`.
Timing Measure(CMarkingBackend& backend, const std::function<bool()>& operation, bool& ok)
{
    backend.Start(std::numeric_limits<uint64_t>::max());
    ok = ok && operation();
    const uint64_t accesses = backend.GetAccesses();
    std::vector<double> whole;
    std::vector<double> outside;
    for (int i = 0; i < RUNS && ok; ++i) {
        backend.Start(accesses);
        const auto start = BenchClock::now();
        ok = operation() && backend.GetAccesses() == accesses;
        const double ms = ElapsedSince<std::milli>(start);
        whole.push_back(ms);
        outside.push_back(ms - backend.ExchangeMs());
    }
    if (!ok)
        return {};
    std::sort(whole.begin(), whole.end());
    std::sort(outside.begin(), outside.end());
    return {whole[whole.size() / 2], outside[outside.size() / 2]};
}

} // namespace

int main()
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "vantrel-bench-transfer";
    fs::create_directories(folder);

    CSimulatedCable cable;
    CVirtualCalculator calc;
    cable.SetPeer(&calc);
    auto marking = std::make_unique<CMarkingBackend>(cable.MakeBackend());
    CMarkingBackend& backend = *marking;
    CLink link;
    if (!OpenLink(link, std::move(marking), cable.GetBase()))
        return 1;

    std::vector<uint8_t> contents(CONTENT_BYTES);
    for (size_t i = 0; i < contents.size(); ++i)
        contents[i] = static_cast<uint8_t>(i * 13 + 5);
    if (!calc.AddVariable("main", "big", VAR_STR, 0, contents))
        return 1;
    const std::vector<VarEntry> vars = {{"big", VAR_STR, CONTENT_BYTES + 2, 0, "main"}};
    const std::string path = (folder / "big.92s").string();

    CQuietMessages messages;
    bool ok = true;
    const Timing receive = Measure(
        backend, [&] { return CReceiveOperation(link, messages, vars).ReceiveSingle(folder.string(), {"main", "big"}); },
        ok);
    // Emptied on the calculator, so that only the send can bring it back.
    if (ok && !calc.AddVariable("main", "big", VAR_STR, 0, {}))
        ok = false;
    const Timing send = Measure(backend, [&] { return CSendOperation(link, messages).SendFile(path); }, ok);

    const SimVariable* back = calc.FindVariable("main", "big");
    if (!ok || !back || back->contents != contents) {
        std::fprintf(stderr, "transfer failed\n");
        return 1;
    }

    // The whole memory: that one variable, as one backup image.
    const std::vector<uint8_t> image = MakeBackupImage(calc.Memory());
    const std::string backupPath = (folder / "calc.92b").string();
    const Timing backup =
        Measure(backend, [&] { return CBackupOperation(link, messages).Backup(backupPath); }, ok);
    const Timing restore =
        Measure(backend, [&] { return CBackupOperation(link, messages).Restore(backupPath, true); }, ok);
    fs::remove_all(folder);
    if (!ok || MakeBackupImage(calc.Memory()) != image) {
        std::fprintf(stderr, "backup or restore failed\n");
        return 1;
    }
    const double per64k = 65536.0 / static_cast<double>(image.size());

    std::printf("receive ms: %.1f\n", receive.wholeMs);
    std::printf("send ms: %.1f\n", send.wholeMs);
    std::printf("file overhead percent: %.2f\n",
                100.0 * (receive.outsideMs + send.outsideMs) / (receive.wholeMs + send.wholeMs));
    std::printf("backup ms per 64 KB: %.1f\n", backup.wholeMs * per64k);
    std::printf("restore ms per 64 KB: %.1f\n", restore.wholeMs * per64k);
    std::printf("backup file overhead percent: %.2f\n",
                100.0 * (backup.outsideMs + restore.outsideMs) / (backup.wholeMs + restore.wholeMs));
    return 0;
}
