#include "sim/CalcLinkEnd.h"

#include "sim/CablePace.h"

void CCalcLinkEnd::QueueBytes(const std::vector<uint8_t>& bytes)
{
    m_outbox.insert(m_outbox.end(), bytes.begin(), bytes.end());
}

void CCalcLinkEnd::GiveUpOnWholeBytes()
{
    if (m_bResetRequested || (m_pPace && m_pPace->EndQuietSpell(GIVE_UP_MS))) {
        m_bResetRequested = false;
        ForgetBytes();
        OnLinkReset();
    }
}

void CCalcLinkEnd::ReceiveWholeByte(uint8_t value)
{
    GiveUpOnWholeBytes();
    if (m_bHoldBoth || m_nBitsMoved + 8 > m_nSilentAfterBits)
        return;
    // The byte has come: it takes its bits from the pace, which may hold back the answer.
    for (int bit = 0; bit < 8; ++bit)
        PaceAllowsBit();
    m_nBitsMoved += 8;
    OnByteReceived(value);
}

bool CCalcLinkEnd::TakeWholeByte(uint8_t& value)
{
    GiveUpOnWholeBytes();
    if (m_outbox.empty() || m_bHoldBoth || m_nBitsMoved + 8 > m_nSilentAfterBits)
        return false;
    for (int bit = 0; bit < 8; ++bit) {
        if (!PaceAllowsBit())
            return false;
    }
    value = m_outbox.front();
    m_outbox.pop_front();
    m_nBitsMoved += 8;
    OnByteSent();
    return true;
}

void CCalcLinkEnd::ResetLink(CSimulatedCable& cable)
{
    ForgetBytes();
    cable.SetCalcPulls(false, false);
}

void CCalcLinkEnd::ForgetBytes()
{
    m_outbox.clear();
    m_phase = Phase::Idle;
    m_nBit = 0;
    m_shift = 0;
    m_bSending = false;
    m_nTurnaroundSteps = 0;
    m_nStalledSteps = 0;
}

void CCalcLinkEnd::Step(CSimulatedCable& cable)
{
    if (m_bResetRequested || (m_pPace && m_pPace->EndQuietSpell(GIVE_UP_MS))) {
        m_bResetRequested = false;
        ResetLink(cable);
        OnLinkReset();
    }
    if (m_bHoldBoth) {
        cable.SetCalcPulls(true, true);
        return;
    }
    if (IsSilent())
        return;
    if (m_nTurnaroundSteps > 0)
        --m_nTurnaroundSteps;
    const uint64_t bitsBefore = m_nBitsMoved;
    // A finished bit may let the next one start within the same access.
    for (int i = 0; i < 2 && !IsSilent(); ++i) {
        if (!StepOnce(cable))
            break;
    }
    WatchForStall(cable, bitsBefore);
}

void CCalcLinkEnd::WatchForStall(CSimulatedCable& cable, uint64_t bitsBefore)
{
    if (m_nStallLimit == 0 || m_phase == Phase::Idle || m_nBitsMoved != bitsBefore) {
        m_nStalledSteps = 0;
        return;
    }
    if (++m_nStalledSteps < m_nStallLimit)
        return;
    ResetLink(cable);
    OnLinkReset();
}

void CCalcLinkEnd::FinishBit()
{
    ++m_nBitsMoved;
    if (m_bSending) {
        if (++m_nBit == 8) {
            m_nBit = 0;
            m_outbox.pop_front();
            m_bSending = false;
            OnByteSent();
        }
        return;
    }
    m_shift = static_cast<uint8_t>((m_shift >> 1) | (m_bBit ? 0x80 : 0));
    // The PC reads the released lines once more before its bit is over:
    // this access's second half and the next one stay ours to leave alone.
    m_nTurnaroundSteps = 2;
    if (++m_nBit == 8) {
        m_nBit = 0;
        const uint8_t value = m_shift;
        m_shift = 0;
        OnByteReceived(value);
    }
}

bool CCalcLinkEnd::PaceAllowsBit()
{
    return m_pPace == nullptr || m_pPace->TakeBit();
}

// Returns true when a bit was completed, so that the next may start at once.
bool CCalcLinkEnd::StepOnce(CSimulatedCable& cable)
{
    switch (m_phase) {
    case Phase::Idle:
        if (!m_bSending && m_nBit == 0 && !m_outbox.empty() && m_nTurnaroundSteps == 0 &&
            cable.LineD0() && cable.LineD1())
            m_bSending = true;
        if (m_bSending) {
            if (!cable.LineD0() || !cable.LineD1() || !PaceAllowsBit())
                return false; // wait for the PC to let both lines go, or for our pace
            m_bBit = ((m_outbox.front() >> m_nBit) & 1) != 0;
            cable.SetCalcPulls(m_bBit, !m_bBit);
            m_phase = Phase::SendAck;
            return false;
        }
        if ((!cable.LineD0() || !cable.LineD1()) && !PaceAllowsBit())
            return false;
        if (!cable.LineD0()) {
            m_bBit = true;
            cable.SetCalcPulls(false, true);
            m_phase = Phase::ReceiveRelease;
        } else if (!cable.LineD1()) {
            m_bBit = false;
            cable.SetCalcPulls(true, false);
            m_phase = Phase::ReceiveRelease;
        }
        return false;

    case Phase::ReceiveRelease:
        if (m_bBit ? !cable.LineD0() : !cable.LineD1())
            return false;
        cable.SetCalcPulls(false, false);
        m_phase = Phase::Idle;
        FinishBit();
        return true;

    case Phase::SendAck:
        if (m_bBit ? cable.LineD1() : cable.LineD0())
            return false;
        cable.SetCalcPulls(false, false);
        m_phase = Phase::SendRelease;
        return false;

    case Phase::SendRelease:
        if (m_bBit ? !cable.LineD1() : !cable.LineD0())
            return false;
        m_phase = Phase::Idle;
        FinishBit();
        return true;
    }
    return false;
}
