#include "sim/HomeSession.h"

#include "link/KeyTable.h"
#include "sim/HomeCommands.h"
#include "sim/SmallFont.h"

#include <algorithm>

namespace {

constexpr char STORE_ARROW = 22;
constexpr uint16_t CHAR_NEGATION = 173;

constexpr int CHARS_PER_LINE = SIM_SCREEN_WIDTH / CSmallFont::ADVANCE;
constexpr int ROW_HEIGHT = CSmallFont::LINE_HEIGHT + 1;
constexpr int TOOLBAR_HEIGHT = 10;
constexpr int ENTRY_TOP = 104;
constexpr int STATUS_TOP = 116;

// What the small font can draw of the calculator's characters.
std::string Shown(const std::string& text)
{
    std::string shown = text;
    for (char& c : shown) {
        if (static_cast<uint8_t>(c) == CHAR_NEGATION)
            c = '-';
        else if (c == STORE_ARROW)
            c = '>';
    }
    return shown;
}

void DrawToolbar(CScreenCanvas& canvas)
{
    canvas.DrawText(2, 1, "F1Tools F2Algebra F3Calc F4Other F5Prgm");
    canvas.FillRect(0, TOOLBAR_HEIGHT, SIM_SCREEN_WIDTH, 1, true);
}

// The history from the bottom of its area up, newest lowest: an entry on
// the left and its answer on the right, on one row when both fit.
void DrawHistory(CScreenCanvas& canvas, const std::vector<std::pair<std::string, std::string>>& history)
{
    int bottom = ENTRY_TOP - 3;
    for (auto it = history.rbegin(); it != history.rend() && bottom > TOOLBAR_HEIGHT + ROW_HEIGHT; ++it) {
        const std::string entry = Shown(it->first).substr(0, CHARS_PER_LINE - 2);
        const std::string answer = Shown(it->second).substr(0, CHARS_PER_LINE);
        const bool oneRow = entry.size() + 2 + answer.size() + 1 <= static_cast<size_t>(CHARS_PER_LINE);
        const int answerX = SIM_SCREEN_WIDTH - 2 - static_cast<int>(answer.size()) * CSmallFont::ADVANCE;
        canvas.DrawText(answerX, bottom - ROW_HEIGHT, answer);
        if (!oneRow)
            bottom -= ROW_HEIGHT;
        canvas.FillRect(2, bottom - ROW_HEIGHT + 2, 3, 3, true);
        canvas.DrawText(8, bottom - ROW_HEIGHT, entry);
        bottom -= ROW_HEIGHT;
    }
}

void DrawStatus(CScreenCanvas& canvas, size_t entries)
{
    canvas.FillRect(0, STATUS_TOP - 2, SIM_SCREEN_WIDTH, 1, true);
    canvas.DrawText(4, STATUS_TOP + 2, "MAIN");
    canvas.DrawText(60, STATUS_TOP + 2, "RAD AUTO");
    canvas.DrawText(138, STATUS_TOP + 2, "FUNC");
    canvas.DrawText(180, STATUS_TOP + 2, std::to_string(entries) + "/" + std::to_string(CHomeSession::MAX_HISTORY));
}

} // namespace

void CHomeSession::Insert(const std::string& text)
{
    if (m_bSelected) {
        m_strEntry.clear();
        m_nCursor = 0;
        m_bSelected = false;
    }
    const std::string fitting = text.substr(0, MAX_ENTRY_LENGTH - std::min(MAX_ENTRY_LENGTH, m_strEntry.size()));
    m_strEntry.insert(m_nCursor, fitting);
    m_nCursor += fitting.size();
}

void CHomeSession::Clear()
{
    if (m_nCursor < m_strEntry.size() && !m_bSelected)
        m_strEntry.erase(m_nCursor);
    else
        m_strEntry.clear();
    m_nCursor = m_strEntry.size();
    m_bSelected = false;
}

void CHomeSession::Enter(CCalcMemory& memory)
{
    if (m_strEntry.empty())
        return;
    m_history.emplace_back(m_strEntry, RunHomeCommand(m_strEntry, memory));
    if (m_history.size() > MAX_HISTORY)
        m_history.erase(m_history.begin());
    m_nCursor = m_strEntry.size();
    m_bSelected = true;
}

void CHomeSession::OnKey(uint16_t code, CCalcMemory& memory)
{
    m_bInUse = true;
    switch (code) {
    case KEY_ENTER: Enter(memory); return;
    case KEY_CLEAR: Clear(); return;
    case KEY_ESC:
        m_strEntry.clear();
        m_nCursor = 0;
        m_bSelected = false;
        return;
    case KEY_BACKSPACE:
        if (m_bSelected)
            Clear();
        else if (m_nCursor > 0)
            m_strEntry.erase(--m_nCursor, 1);
        return;
    case KEY_MOD_DIAMOND + KEY_BACKSPACE:
        if (m_nCursor < m_strEntry.size())
            m_strEntry.erase(m_nCursor, 1);
        m_bSelected = false;
        return;
    case KEY_LEFT:
    case KEY_RIGHT:
    case KEY_MOD_2ND + KEY_LEFT:
    case KEY_MOD_2ND + KEY_RIGHT: {
        const bool toEnd = (code & KEY_MOD_2ND) != 0;
        const bool left = (code & ~KEY_MOD_2ND) == KEY_LEFT;
        if (toEnd)
            m_nCursor = left ? 0 : m_strEntry.size();
        else if (left && m_nCursor > 0)
            --m_nCursor;
        else if (!left && m_nCursor < m_strEntry.size())
            ++m_nCursor;
        m_bSelected = false;
        return;
    }
    case KEY_SIN: Insert("sin("); return;
    case KEY_COS: Insert("cos("); return;
    case KEY_TAN: Insert("tan("); return;
    case KEY_LN: Insert("ln("); return;
    case KEY_STO: Insert(std::string(1, STORE_ARROW)); return;
    default: break;
    }
    // A character: printable ASCII and the calculator's own beyond it.
    if ((code >= ' ' && code <= '~') || (code >= 128 && code <= 255))
        Insert(std::string(1, static_cast<char>(code)));
}

void CHomeSession::Draw(SimScreen& screen) const
{
    CScreenCanvas canvas(screen);
    canvas.Clear();
    DrawToolbar(canvas);
    DrawHistory(canvas, m_history);
    canvas.FillRect(0, ENTRY_TOP - 2, SIM_SCREEN_WIDTH, 1, true);

    // The line scrolls so that the cursor stays in sight.
    const std::string shown = Shown(m_strEntry);
    const size_t visible = CHARS_PER_LINE - 1;
    const size_t first = m_nCursor > visible ? m_nCursor - visible : 0;
    canvas.DrawText(2, ENTRY_TOP + 2, shown.substr(first, visible));
    if (m_bSelected) {
        const int width = static_cast<int>(std::min(shown.size() - first, visible)) * CSmallFont::ADVANCE;
        canvas.InvertRect(1, ENTRY_TOP + 1, width + 1, CSmallFont::LINE_HEIGHT + 1);
    } else {
        const int x = 1 + static_cast<int>(m_nCursor - first) * CSmallFont::ADVANCE;
        canvas.FillRect(x, ENTRY_TOP + 1, 1, CSmallFont::LINE_HEIGHT + 1, true);
    }
    DrawStatus(canvas, m_history.size());
}
