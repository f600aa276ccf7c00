#pragma once

#include "link/Clock.h"
#include "link/LinkProgress.h"

#include <cstdint>
#include <string>

class IProgressView;

// What the window shows of a long exchange, on both systems. Nothing for
// the first half second, so that short exchanges do not flash a window;
// then the progress window says what is being done and how many bytes have
// moved (of how many expected, with a bar; a busy bar when that is not
// known), refreshed and its events handled at most every UPDATE_EVERY_MS,
// until the exchange ends. Cancel there stops the exchange before its next
// byte. Everything runs on the exchange's thread, from the link's calls.
class CProgressLogic final : public ILinkProgress {
public:
    static constexpr uint64_t SHOW_AFTER_MS = 500;
    static constexpr uint64_t UPDATE_EVERY_MS = 50;

    // The steady clock unless SetClock gives another.
    explicit CProgressLogic(IProgressView& view) : m_view(view) {}

    CProgressLogic(const CProgressLogic&) = delete;
    CProgressLogic& operator=(const CProgressLogic&) = delete;

    void SetClock(IClock& clock) { m_pClock = &clock; }

    void ExchangeStarted(int textId, const std::string& arg, uint64_t expectedBytes) override;
    void BytesMoved(uint64_t bytesDone) override;
    bool IsCancelRequested() override;
    void ExchangeEnded() override;

private:
    // Opens the window when it is due, refreshes it and handles its events.
    void Update();

    IProgressView& m_view;
    CSteadyClock m_steadyClock;
    IClock* m_pClock = &m_steadyClock;
    bool m_bActive = false;
    bool m_bOpen = false;
    bool m_bCancelRequested = false;
    std::string m_strWhat;
    uint64_t m_nExpected = 0;
    uint64_t m_nDone = 0;
    uint64_t m_nStartMs = 0;
    uint64_t m_nLastUpdateMs = 0;
};
