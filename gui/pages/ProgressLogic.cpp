#include "gui/pages/ProgressLogic.h"

#include "gui/pages/ProgressView.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"
#include "text/TextFormat.h"

#include <algorithm>

namespace {

// The bytes line: "%s bytes", or "%s of %s bytes" when the total is known.
std::string CountText(uint64_t done, uint64_t expected)
{
    if (expected == 0)
        return FormatText(ProgramText(IDS_PROGRESS_BYTES), {GroupedDigits(done)});
    // The expectation is close, not exact: never more done than expected.
    return FormatText(ProgramText(IDS_PROGRESS_BYTES_OF),
                      {GroupedDigits(std::min(done, expected)), GroupedDigits(expected)});
}

} // namespace

void CProgressLogic::ExchangeStarted(int textId, const std::string& arg, uint64_t expectedBytes)
{
    ExchangeEnded();
    m_bActive = true;
    m_bCancelRequested = false;
    m_strWhat = ProgramText(textId, {arg});
    m_nExpected = expectedBytes;
    m_nDone = 0;
    m_nStartMs = m_nLastUpdateMs = m_pClock->NowMs();
}

void CProgressLogic::BytesMoved(uint64_t bytesDone)
{
    m_nDone = bytesDone;
    Update();
}

bool CProgressLogic::IsCancelRequested()
{
    Update();
    return m_bCancelRequested;
}

void CProgressLogic::ExchangeEnded()
{
    m_bActive = false;
    if (m_bOpen) {
        m_bOpen = false;
        m_view.Close();
    }
}

void CProgressLogic::Update()
{
    if (!m_bActive)
        return;
    const uint64_t now = m_pClock->NowMs();
    if (now - m_nStartMs < SHOW_AFTER_MS || now - m_nLastUpdateMs < UPDATE_EVERY_MS)
        return;
    m_nLastUpdateMs = now;
    if (!m_bOpen) {
        m_view.Open();
        m_bOpen = true;
    }
    m_view.ShowTexts(m_strWhat, CountText(m_nDone, m_nExpected));
    if (m_nExpected == 0)
        m_view.ShowBusyBar();
    else
        m_view.ShowBar(static_cast<int>(std::min(m_nDone, m_nExpected) * IProgressView::BAR_STEPS / m_nExpected));
    if (m_view.PumpEvents())
        m_bCancelRequested = true;
}
