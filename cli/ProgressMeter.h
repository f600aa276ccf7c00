#pragma once

#include "link/Clock.h"

#include <cstdint>
#include <iosfwd>
#include <string>

// A progress line on the terminal for exchanges that last more than a
// second: "receiving main\x: 12288 of 65004 bytes (18%)", redrawn in place
// a few times a second and closed with the total when the exchange ends.
// It counts bytes as they cross the cable (the link reports them through
// CCliProgress), so it needs nothing from the operation it watches.
class CProgressMeter {
public:
    static constexpr uint64_t QUIET_MS = 1000;
    static constexpr uint64_t REDRAW_MS = 200;

    CProgressMeter(std::ostream& out, bool enabled, IClock& clock);

    // Starts watching; `expectedBytes` (0 when unknown) is what the exchange
    // moves on the cable, roughly, for the percentage.
    void Begin(const std::string& label, uint64_t expectedBytes);
    void AddBytes(uint64_t count);
    // Ends the line when one was shown.
    void End();
    // Takes the line off the screen so that a message can be printed in its
    // place; it comes back at the next redraw.
    void ClearLine();

    bool HasShown() const { return m_bShown; }
    uint64_t GetBytes() const { return m_nBytes; }

private:
    void Draw(uint64_t now);

    std::ostream& m_out;
    bool m_bEnabled;
    IClock& m_clock;
    bool m_bActive = false;
    bool m_bShown = false;
    bool m_bLineOnScreen = false;
    std::string m_strLabel;
    uint64_t m_nExpected = 0;
    uint64_t m_nBytes = 0;
    uint64_t m_nStartMs = 0;
    uint64_t m_nLastDrawMs = 0;
};
