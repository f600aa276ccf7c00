#pragma once

#include "sim/CalcMemory.h"
#include "sim/ScreenCanvas.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The simulated calculator's home screen as its keys drive it: the entry
// line with its cursor, the history of entries and answers above it, and the
// status line. Keys come as the codes of key packets. As on the TI-92, CLEAR
// first clears what follows the cursor and, at the end of the line, the
// whole line; ENTER runs the entry (RunHomeCommand) and leaves it on the
// line, selected, so that typing replaces it; ESC empties the line; the
// cursor keys move along it (2nd with them to its ends); backspace deletes
// before the cursor and diamond-backspace after it. Keys it has no use for
// (the function keys, APPS, MODE) change nothing.
class CHomeSession {
public:
    static constexpr size_t MAX_ENTRY_LENGTH = 255;
    // Entries and answers kept, as the calculator's own history keeps 30.
    static constexpr size_t MAX_HISTORY = 30;

    // Takes one key; the memory is what the entries act on.
    void OnKey(uint16_t code, CCalcMemory& memory);

    // Until the first key the calculator shows its own start screen.
    bool IsInUse() const { return m_bInUse; }
    void Draw(SimScreen& screen) const;

    // The entry line in the calculator's character codes.
    const std::string& GetEntry() const { return m_strEntry; }
    size_t GetCursor() const { return m_nCursor; }
    bool IsEntrySelected() const { return m_bSelected; }
    // Entries with their answers, oldest first.
    const std::vector<std::pair<std::string, std::string>>& GetHistory() const { return m_history; }

private:
    void Insert(const std::string& text);
    void Clear();
    void Enter(CCalcMemory& memory);

    bool m_bInUse = false;
    std::string m_strEntry;
    size_t m_nCursor = 0;
    bool m_bSelected = false;
    std::vector<std::pair<std::string, std::string>> m_history;
};
