#include "sim/CablePace.h"

#include <algorithm>

CCablePace::CCablePace(uint32_t bytesPerSecond, IClock& clock)
    : m_nBitsPerSecond(uint64_t{bytesPerSecond} * 8),
      m_nMaxCredit(std::max(8 * UNITS_PER_BIT, m_nBitsPerSecond * BURST_MS)),
      m_clock(clock),
      m_nLastMs(clock.NowMs()),
      m_nCredit(m_nMaxCredit),
      m_nLastBitMs(m_nLastMs)
{
}

bool CCablePace::TakeBit()
{
    const uint64_t now = m_clock.NowMs();
    if (now > m_nLastMs) {
        m_nCredit = std::min(m_nMaxCredit, m_nCredit + (now - m_nLastMs) * m_nBitsPerSecond);
        m_nLastMs = now;
    }
    if (m_nCredit < UNITS_PER_BIT)
        return false;
    m_nCredit -= UNITS_PER_BIT;
    m_nLastBitMs = now;
    return true;
}

bool CCablePace::EndQuietSpell(uint64_t ms)
{
    const uint64_t now = m_clock.NowMs();
    if (now < m_nLastBitMs || now - m_nLastBitMs < ms)
        return false;
    m_nLastBitMs = now;
    return true;
}
