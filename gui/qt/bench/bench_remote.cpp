// The remote window on the built-in simulated TI-92 held to a real cable's
// pace: how many screens a second it shows, and how long the window goes
// without a repaint while screens are being read, which is all the time.
// A probe widget in the window asks to be repainted again each time it is
// painted; the longest gap between two of its paints is the longest the
// window could not repaint. Prints both; the gap's target is under 100 ms.
//   bench_remote [BYTES-PER-SECOND [SECONDS]]     (default 4000 and 10; 0: full speed)

#include "gui/qt/bench/BenchPages.h"
#include "gui/qt/QtRemoteWindow.h"
#include "link/Link.h"
#include "sim/BuiltInCalculator.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

class CPaintProbe final : public QWidget {
public:
    explicit CPaintProbe(QWidget* parent) : QWidget(parent) { m_clock.start(); }
    std::vector<qint64> paintsMs;

protected:
    void paintEvent(QPaintEvent*) override
    {
        paintsMs.push_back(m_clock.elapsed());
        QPainter(this).fillRect(rect(), (paintsMs.size() % 2) ? Qt::black : Qt::white);
        update();
    }

private:
    QElapsedTimer m_clock;
};

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    const uint32_t rate = argc > 1 ? uint32_t(std::strtoul(argv[1], nullptr, 10)) : 4000;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;

    SetProgramFolder(VANTREL_BIN_DIR);
    g_hLangLibrary = LoadLanguageBundle("English.dll");
    if (g_hLangLibrary == nullptr) {
        std::fprintf(stderr, "bench_remote: English.dll not found in %s\n", VANTREL_BIN_DIR);
        return 1;
    }
    CBuiltInCalculator calculator(0x378);
    calculator.SetPace(rate);
    CLink link;
    if (!link.Open(calculator.MakeBackend(), 0x378, 1000)) {
        std::fprintf(stderr, "bench_remote: the simulated cable did not open\n");
        return 1;
    }

    CQtRemoteWindow remote(nullptr);
    if (!remote.Open(link)) {
        std::fprintf(stderr, "bench_remote: the remote window cannot be made\n");
        return 1;
    }
    auto* probe = new CPaintProbe(remote.GetDialog());
    probe->setGeometry(0, 0, 4, 4);
    probe->show();

    QElapsedTimer run;
    run.start();
    while (run.elapsed() < seconds * 1000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    const uint64_t frames = remote.Logic().GetFramesShown();
    const uint64_t tenths = remote.Logic().GetRateTenths();
    remote.GetDialog()->close();
    QApplication::processEvents();

    if (frames < 2 || probe->paintsMs.size() < 2) {
        std::fprintf(stderr, "bench_remote: %llu screens, %zu paints: nothing to measure\n",
                     static_cast<unsigned long long>(frames), probe->paintsMs.size());
        return 1;
    }
    qint64 longest = 0;
    for (size_t i = 1; i < probe->paintsMs.size(); ++i)
        longest = std::max(longest, probe->paintsMs[i] - probe->paintsMs[i - 1]);
    const double meanGap = double(probe->paintsMs.back() - probe->paintsMs.front()) / double(probe->paintsMs.size() - 1);

    if (rate == 0)
        std::printf("simulated cable at full speed, %d s\n", seconds);
    else
        std::printf("simulated cable at %u bytes a second, %d s\n", rate, seconds);
    std::printf("screens shown: %llu, %.1f a second over the last %llu s\n", static_cast<unsigned long long>(frames),
                double(tenths) / 10, static_cast<unsigned long long>(CRemoteLogic::RATE_WINDOW_MS / 1000));
    std::printf("window repaints: %zu, mean gap %.1f ms, longest gap %lld ms (target under 100 ms)\n",
                probe->paintsMs.size(), meanGap, static_cast<long long>(longest));
    return longest < 100 ? 0 : 1;
}
