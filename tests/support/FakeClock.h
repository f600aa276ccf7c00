#pragma once

#include "link/Clock.h"

#include <cstdint>

// A clock that moves only when read: every reading returns the current time
// and then advances it by the step, so busy waits end deterministically.
class CFakeClock final : public IClock {
public:
    explicit CFakeClock(uint64_t startMs = 0, uint64_t stepMs = 0) : m_now(startMs), m_step(stepMs) {}

    uint64_t NowMs() override
    {
        ++m_nReadings;
        const uint64_t now = m_now;
        m_now += m_step;
        return now;
    }

    void Set(uint64_t ms) { m_now = ms; }
    void Advance(uint64_t ms) { m_now += ms; }
    void SetStep(uint64_t ms) { m_step = ms; }
    uint64_t Peek() const { return m_now; }
    uint64_t GetReadings() const { return m_nReadings; }

private:
    uint64_t m_now;
    uint64_t m_step;
    uint64_t m_nReadings = 0;
};
