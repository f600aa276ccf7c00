// The directory listing of 2,000 entries through the virtual TI-92 on the
// simulated cable, then the directory page filled with it: the folder rows,
// and one folder of 1,000 variables shown and laid out. Prints the exchange
// time, the fill time, and last the fill time per 1,000 rows, whose target
// is at most 50 ms.
#include "gui/qt/bench/BenchPages.h"
#include "gui/qt/DirList.h"
#include "link/DirectoryListing.h"
#include "link/Link.h"
#include "link/VarTypes.h"
#include "sim/SimulatedCable.h"
#include "sim/VirtualCalculator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>

#include <cstdio>
#include <string>

namespace {

constexpr int BIG_FOLDER_VARIABLES = 1000;
constexpr int OTHER_FOLDER_VARIABLES = 998; // with "main" and "other": 2,000 entries
constexpr int RUNS = 5;

// Built by appending: "b" + std::to_string(i) trips a false overlap warning
// of the optimiser.
std::string Numbered(const char* prefix, int i)
{
    std::string name = prefix;
    name += std::to_string(i);
    return name;
}

void FillCalculator(CVirtualCalculator& calc)
{
    const std::vector<uint8_t> text = {0x00, 0x00, 0x20, 'h', 'i', 0x00, 0xE0};
    for (int i = 0; i < BIG_FOLDER_VARIABLES; ++i)
        calc.AddVariable("main", Numbered("b", i), VAR_TEXT, 0, text);
    for (int i = 0; i < OTHER_FOLDER_VARIABLES; ++i)
        calc.AddVariable("other", Numbered("o", i), VAR_STR, 0, {0x00, 'x', 0x00, 0x2D});
}

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessChosen();
    QApplication app(argc, argv);

    // The listing through the cable, without any widget.
    CSimulatedCable cable;
    CVirtualCalculator calc;
    calc.Memory().Clear();
    FillCalculator(calc);
    cable.SetPeer(&calc);
    CLink link;
    link.Open(cable.MakeBackend(), cable.GetBase(), link.GetTimeout());

    CDirectoryListing listing;
    QElapsedTimer listingStart;
    listingStart.start();
    if (!listing.ReadDirectory(link)) {
        std::fprintf(stderr, "bench_dir: the listing failed\n");
        return 1;
    }
    const double listingMs = (double(listingStart.nsecsElapsed()) / 1e6);
    const size_t entries = listing.m_folders.size() + listing.m_vars.size();
    if (entries != 2000) {
        std::fprintf(stderr, "bench_dir: %zu entries listed instead of 2000\n", entries);
        return 1;
    }

    // The page from the English template, shown off screen.
    CDirList page;
    if (!BuildEnglishPage(page, CDirList::IDD, "bench_dir", "the page"))
        return 1;
    page.resize(900, 600);
    page.show();
    QApplication::processEvents();
    auto* vars = page.GetControl<QTreeWidget>("IDC_VAR_LIST");

    // The best of a few fills: the folder rows as the listing delivers them,
    // then the folder of 1,000 variables opened, laid out and painted.
    double fillMs = 1e9;
    for (int run = 0; run < RUNS; ++run) {
        page.Logic().ClearCalculatorSide();
        QApplication::processEvents();
        QElapsedTimer fillStart;
        fillStart.start();
        for (const FolderEntry& folder : listing.m_folders)
            page.Logic().AddFolderEntry(folder.name, folder.size);
        for (const VarEntry& var : listing.m_vars)
            page.Logic().AddVariableEntry(var);
        page.Logic().ShowFolderVariables("main");
        page.repaint();
        QApplication::processEvents();
        const double ms = (double(fillStart.nsecsElapsed()) / 1e6);
        fillMs = ms < fillMs ? ms : fillMs;
    }
    if (vars->topLevelItemCount() != BIG_FOLDER_VARIABLES) {
        std::fprintf(stderr, "bench_dir: %d variable rows shown\n", vars->topLevelItemCount());
        return 1;
    }
    const double rows = static_cast<double>(listing.m_folders.size()) + BIG_FOLDER_VARIABLES;

    std::printf("listing ms: %.1f\n", listingMs);
    std::printf("fill ms: %.1f\n", fillMs);
    std::printf("fill ms per 1000 rows: %.1f\n", fillMs * 1000.0 / rows);
    FreeLanguageLibrary();
    return 0;
}
