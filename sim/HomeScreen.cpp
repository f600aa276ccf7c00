#include "sim/HomeScreen.h"

#include "sim/SmallFont.h"

#include <string>

namespace {

constexpr int MARGIN = 6;
constexpr int LIST_TOP = 36;
constexpr int LIST_ROW_HEIGHT = 9;
constexpr int LIST_ROWS = 8;
constexpr int STATUS_TOP = 116;

std::string FolderLine(const SimFolder& folder)
{
    std::string line = folder.name;
    line.resize(CCalcMemory::MAX_VAR_NAME_LENGTH + 2, ' ');
    const size_t count = folder.variables.size();
    line += std::to_string(count) + (count == 1 ? " variable" : " variables");
    return line;
}

void DrawFolders(CScreenCanvas& canvas, const CCalcMemory& memory)
{
    canvas.DrawText(MARGIN, 26, "Folders");
    const auto& folders = memory.GetFolders();
    for (size_t i = 0; i < folders.size(); ++i) {
        const int y = LIST_TOP + static_cast<int>(i) * LIST_ROW_HEIGHT;
        const bool lastRow = i + 1 == LIST_ROWS;
        if (lastRow && folders.size() > LIST_ROWS) {
            canvas.DrawText(MARGIN + 6, y, "... and " + std::to_string(folders.size() - i) + " more");
            return;
        }
        canvas.DrawText(MARGIN + 6, y, FolderLine(folders[i]));
    }
}

void DrawStatusLine(CScreenCanvas& canvas)
{
    canvas.FillRect(0, STATUS_TOP - 2, SIM_SCREEN_WIDTH, 1, true);
    canvas.DrawText(4, STATUS_TOP + 2, "MAIN");
    canvas.DrawText(84, STATUS_TOP + 2, "RAD AUTO");
    canvas.DrawText(204, STATUS_TOP + 2, "FUNC");
    // The current folder stands out, as on the calculator's own status line.
    canvas.InvertRect(2, STATUS_TOP, 4 * CSmallFont::ADVANCE + 3, CSmallFont::LINE_HEIGHT + 2);
}

} // namespace

void DrawHomeScreen(SimScreen& screen, const CCalcMemory& memory)
{
    CScreenCanvas canvas(screen);
    canvas.Clear();
    const int afterTitle = canvas.DrawText(MARGIN, 4, "TI-92", 2);
    canvas.DrawText(afterTitle + 8, 4, "Vantrel 92");
    canvas.DrawText(afterTitle + 8, 13, "simulated calculator");
    canvas.FillRect(0, 22, SIM_SCREEN_WIDTH, 1, true);
    DrawFolders(canvas, memory);
    DrawStatusLine(canvas);
}
