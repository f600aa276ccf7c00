#include "sim/HomeScreen.h"

#include "sim/SmallFont.h"

#include <string>

namespace {

constexpr int kMargin = 6;
constexpr int kListTop = 36;
constexpr int kListRowHeight = 9;
constexpr int kListRows = 8;
constexpr int kStatusTop = 116;

std::string FolderLine(const SimFolder& folder)
{
    std::string line = folder.name;
    line.resize(CCalcMemory::kMaxNameLength + 2, ' ');
    const size_t count = folder.variables.size();
    line += std::to_string(count) + (count == 1 ? " variable" : " variables");
    return line;
}

void DrawFolders(CScreenCanvas& canvas, const CCalcMemory& memory)
{
    canvas.DrawText(kMargin, 26, "Folders");
    const auto& folders = memory.GetFolders();
    for (size_t i = 0; i < folders.size(); ++i) {
        const int y = kListTop + static_cast<int>(i) * kListRowHeight;
        const bool lastRow = i + 1 == kListRows;
        if (lastRow && folders.size() > kListRows) {
            canvas.DrawText(kMargin + 6, y, "... and " + std::to_string(folders.size() - i) + " more");
            return;
        }
        canvas.DrawText(kMargin + 6, y, FolderLine(folders[i]));
    }
}

void DrawStatusLine(CScreenCanvas& canvas)
{
    canvas.FillRect(0, kStatusTop - 2, SIM_SCREEN_WIDTH, 1, true);
    canvas.DrawText(4, kStatusTop + 2, "MAIN");
    canvas.DrawText(84, kStatusTop + 2, "RAD AUTO");
    canvas.DrawText(204, kStatusTop + 2, "FUNC");
    // The current folder stands out, as on the calculator's own status line.
    canvas.InvertRect(2, kStatusTop, 4 * CSmallFont::kAdvance + 3, CSmallFont::kLineHeight + 2);
}

} // namespace

void DrawHomeScreen(SimScreen& screen, const CCalcMemory& memory)
{
    CScreenCanvas canvas(screen);
    canvas.Clear();
    const int afterTitle = canvas.DrawText(kMargin, 4, "TI-92", 2);
    canvas.DrawText(afterTitle + 8, 4, "Vantrel 92");
    canvas.DrawText(afterTitle + 8, 13, "simulated calculator");
    canvas.FillRect(0, 22, SIM_SCREEN_WIDTH, 1, true);
    DrawFolders(canvas, memory);
    DrawStatusLine(canvas);
}
