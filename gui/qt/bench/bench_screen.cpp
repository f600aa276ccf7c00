// A screen capture through the virtual TI-92 on the simulated cable, then the
// screen page rebuilding its picture from the captured screen at single and
// double size, shown off screen (enlargement, picture, display and repaint).
// Prints the capture time, the mean rebuild time at each zoom, and last the
// double-size rebuild again, whose target is at most 2,000 us.
#include "gui/qt/bench/BenchPages.h"
#include "gui/qt/GrabScreen.h"
#include "link/Link.h"
#include "screen/ScreenCapture.h"
#include "sim/SimulatedCable.h"
#include "sim/VirtualCalculator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int CAPTURES = 5;
constexpr int BUILDS = 200;

double MeanBuildMicroseconds(CGrabScreenLogic& page, uint8_t zoom)
{
    page.SetZoom(zoom == 2);
    page.BuildPicture(); // warm-up
    QElapsedTimer start;
    start.start();
    for (int i = 0; i < BUILDS; ++i)
        page.BuildPicture();
    return (double(start.nsecsElapsed()) / 1e3) / BUILDS;
}

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessChosen();
    QApplication app(argc, argv);

    CSimulatedCable cable;
    CVirtualCalculator calc;
    calc.LoadSampleContent();
    cable.SetPeer(&calc);
    CLink link;
    link.Open(cable.MakeBackend(), cable.GetBase(), link.GetTimeout());

    CGrabScreen page;
    double bestCaptureUs = 0;
    for (int i = 0; i < CAPTURES; ++i) {
        QElapsedTimer start;
    start.start();
        if (!ReceiveScreen(link, page.Logic().Screen())) {
            std::fprintf(stderr, "bench_screen: the capture failed\n");
            return 1;
        }
        const double us = (double(start.nsecsElapsed()) / 1e3);
        bestCaptureUs = i == 0 ? us : std::min(bestCaptureUs, us);
    }
    if (!std::equal(calc.Screen().begin(), calc.Screen().end(), page.Logic().Screen().data(),
                    [](uint8_t wire, uint8_t kept) { return kept == uint8_t(~wire); })) {
        std::fprintf(stderr, "bench_screen: the captured screen differs from the calculator's\n");
        return 1;
    }

    if (!BuildEnglishPage(page, CGrabScreen::IDD, "bench_screen", "the screen page"))
        return 1;
    page.show();
    QApplication::processEvents();
    if (page.GetControl<QLabel>("IDC_SCREEN_PICTURE") == nullptr) {
        std::fprintf(stderr, "bench_screen: the page has no picture control\n");
        return 1;
    }

    const double zoom1 = MeanBuildMicroseconds(page.Logic(), 1);
    const double zoom2 = MeanBuildMicroseconds(page.Logic(), 2);
    if (page.GetPicture().width() != 480) {
        std::fprintf(stderr, "bench_screen: the double-size picture was not built\n");
        return 1;
    }

    std::printf("capture ms: %.2f\n", bestCaptureUs / 1000.0);
    std::printf("build zoom1 us: %.1f\n", zoom1);
    std::printf("build zoom2 us: %.1f\n", zoom2);
    std::printf("build zoom2 us: %.1f\n", zoom2);

    page.hide();
    FreeLanguageLibrary();
    return 0;
}
