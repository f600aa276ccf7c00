// A screen capture through the virtual TI-92 on the simulated cable, then the
// screen page rebuilding its picture from the captured screen at single and
// double size, shown off screen (enlargement, picture, display and repaint).
// Prints the capture time, the mean rebuild time at each zoom, and last the
// double-size rebuild again, whose target is at most 2,000 us.
#include "link/Link.h"
#include "screen/GrabScreen.h"
#include "screen/ScreenCapture.h"
#include "shell/LanguageLibrary.h"
#include "shell/ProgramFolder.h"
#include "sim/SimulatedCable.h"
#include "sim/VirtualCalculator.h"

#include <QApplication>
#include <QLabel>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

constexpr int kCaptures = 5;
constexpr int kBuilds = 200;

double MicrosecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

double MeanBuildMicroseconds(CGrabScreen& page, uint8_t zoom)
{
    page.m_nZoom = zoom;
    page.BuildPicture(); // warm-up
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kBuilds; ++i)
        page.BuildPicture();
    return MicrosecondsSince(start) / kBuilds;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    CSimulatedCable cable;
    CVirtualCalculator calc;
    calc.LoadSampleContent();
    cable.SetPeer(&calc);
    CLink link;
    link.m_portIo.SetBackend(cable.MakeBackend());
    link.m_portIo.OpenDriver();
    link.SetPort(cable.GetBase());

    CGrabScreen page;
    double bestCaptureUs = 0;
    for (int i = 0; i < kCaptures; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!ReceiveScreen(link, page.Screen())) {
            std::fprintf(stderr, "bench_screen: the capture failed\n");
            return 1;
        }
        const double us = MicrosecondsSince(start);
        bestCaptureUs = i == 0 ? us : std::min(bestCaptureUs, us);
    }
    if (!std::equal(calc.Screen().begin(), calc.Screen().end(), page.m_pScreen.get(),
                    [](uint8_t wire, uint8_t kept) { return kept == uint8_t(~wire); })) {
        std::fprintf(stderr, "bench_screen: the captured screen differs from the calculator's\n");
        return 1;
    }

    SetProgramFolder(VANTREL_BIN_DIR);
    g_hLangLibrary = LoadLanguageBundle("English.dll");
    if (g_hLangLibrary == nullptr) {
        std::fprintf(stderr, "bench_screen: English.dll not found in %s\n", VANTREL_BIN_DIR);
        return 1;
    }
    size_t size = 0;
    const void* tmpl = LoadLanguageResource(CGrabScreen::IDD, RT_DIALOG, &size);
    if (tmpl == nullptr || !page.SetTemplate(tmpl, size)) {
        std::fprintf(stderr, "bench_screen: the screen page template cannot be built\n");
        return 1;
    }
    page.show();
    QApplication::processEvents();
    if (page.GetControl<QLabel>("IDC_SCREEN_PICTURE") == nullptr) {
        std::fprintf(stderr, "bench_screen: the page has no picture control\n");
        return 1;
    }

    const double zoom1 = MeanBuildMicroseconds(page, 1);
    const double zoom2 = MeanBuildMicroseconds(page, 2);
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
