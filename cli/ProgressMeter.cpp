#include "cli/ProgressMeter.h"

#include <ostream>

CProgressMeter::CProgressMeter(std::ostream& out, bool enabled, IClock& clock)
    : m_out(out), m_bEnabled(enabled), m_clock(clock)
{
}

void CProgressMeter::Begin(const std::string& label, uint64_t expectedBytes)
{
    End();
    m_bActive = m_bEnabled;
    m_bShown = false;
    m_strLabel = label;
    m_nExpected = expectedBytes;
    m_nBytes = 0;
    if (m_bActive)
        m_nStartMs = m_nLastDrawMs = m_clock.NowMs();
}

void CProgressMeter::AddBytes(uint64_t count)
{
    m_nBytes += count;
    if (!m_bActive)
        return;
    const uint64_t now = m_clock.NowMs();
    if (now - m_nStartMs < QUIET_MS || (m_bShown && now - m_nLastDrawMs < REDRAW_MS))
        return;
    Draw(now);
}

void CProgressMeter::Draw(uint64_t now)
{
    m_out << '\r' << m_strLabel << ": " << m_nBytes;
    if (m_nExpected > 0) {
        // The estimate leaves out some packet overhead; never claim more than done.
        const uint64_t percent = m_nBytes >= m_nExpected ? 99 : m_nBytes * 100 / m_nExpected;
        m_out << " of " << m_nExpected << " bytes (" << percent << "%)";
    } else {
        m_out << " bytes";
    }
    m_out << "\x1b[K";
    m_out.flush();
    m_bShown = true;
    m_bLineOnScreen = true;
    m_nLastDrawMs = now;
}

void CProgressMeter::End()
{
    if (m_bActive && m_bShown) {
        const uint64_t ms = m_clock.NowMs() - m_nStartMs;
        m_out << '\r' << m_strLabel << ": " << m_nBytes << " bytes in " << ms / 1000 << '.'
              << (ms % 1000) / 100 << " s\x1b[K\n";
        m_out.flush();
    }
    m_bActive = false;
    m_bShown = false;
    m_bLineOnScreen = false;
}

void CProgressMeter::ClearLine()
{
    if (!m_bLineOnScreen)
        return;
    m_out << "\r\x1b[K";
    m_out.flush();
    m_bLineOnScreen = false;
}
