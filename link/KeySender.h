#pragma once

#include "link/Clock.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CLink;

// Presses keys on the calculator one after the other. The calculator needs
// a moment to act on a key before it takes the next, so the sender lets
// KEY_GAP_MS pass, measured on its clock, between one key's acknowledgement
// and the next key, also from one Press to the next. The keys of one Press
// are one exchange of the link: its progress hears of them, and a cancel
// stops the sequence before the next key.
class CKeySender {
public:
    static constexpr uint64_t KEY_GAP_MS = 50;
    // How the sender lets time pass: the program sleeps, tests move their
    // clock on.
    using SleepFunction = std::function<void(uint64_t ms)>;

    // On the steady clock, sleeping on the thread, unless SetClock says
    // otherwise.
    explicit CKeySender(CLink& link) : m_link(link) {}
    CKeySender(CLink& link, IClock& clock, SleepFunction sleep);

    void SetClock(IClock& clock, SleepFunction sleep);

    // Presses `codes` in order, as the exchange `textId` (with `arg` for its
    // "%s"). True when the calculator acknowledged every key; otherwise
    // GetFailedKey() is the one it did not (or the one a cancel stopped),
    // and no key after it was sent.
    bool Press(const std::vector<uint16_t>& codes, int textId, const std::string& arg = {});
    uint16_t GetFailedKey() const { return m_wFailedKey; }

    static void SleepOnThread(uint64_t ms);

private:
    void WaitForGap();

    CLink& m_link;
    CSteadyClock m_steadyClock;
    IClock* m_pClock = &m_steadyClock;
    SleepFunction m_sleep = SleepOnThread;
    bool m_bPressedBefore = false;
    uint64_t m_nLastKeyMs = 0;
    uint16_t m_wFailedKey = 0;
};
