#pragma once

#include "sim/SimulatedCable.h"

#include <cstdint>
#include <deque>
#include <limits>
#include <vector>

class CCablePace;

// The calculator's side of the bit handshake. It receives the PC's bits (a 1
// on line D0, a 0 on line D1, acknowledged on the other line), sends its
// queued bytes the same way, least significant bit first, and hands every
// whole byte received to OnByteReceived. Reacting within the very next port
// access, it is as fast a peer as the protocol allows. After a byte received
// it lets the PC see the released lines before it starts a byte of its own,
// so an answer queued at once does not catch the PC still waiting for its
// last acknowledgement to end.
class CCalcLinkEnd : public ICablePeer {
public:
    void Step(CSimulatedCable& cable) override;

    void QueueByte(uint8_t value) { m_outbox.push_back(value); }
    void QueueBytes(const std::vector<uint8_t>& bytes);
    bool HasPendingOutput() const { return !m_outbox.empty(); }
    // No byte is half-way in either direction.
    bool IsBetweenBytes() const { return m_phase == Phase::Idle && m_nBit == 0; }

    // Bytes received so far, when OnByteReceived is not overridden.
    const std::vector<uint8_t>& GetReceived() const { return m_received; }
    void ClearReceived() { m_received.clear(); }

    // Faults. Falling silent freezes the lines as they are, also mid-byte.
    void GoSilentAfterBits(uint64_t bits) { m_nSilentAfterBits = bits; }
    void GoSilent() { m_nSilentAfterBits = m_nBitsMoved; }
    void HoldBothLines(bool hold) { m_bHoldBoth = hold; }
    bool IsSilent() const { return m_nBitsMoved >= m_nSilentAfterBits; }
    uint64_t GetBitsMoved() const { return m_nBitsMoved; }

    // The calculator's end of a byte cable, whose own computer does the bit
    // handshake: a whole byte from the PC, and the next byte to the PC
    // (false when there is none, or the end is silent, holds the lines or
    // is held back by its pace). Faults and the pace count these as eight
    // bits each.
    void ReceiveWholeByte(uint8_t value);
    bool TakeWholeByte(uint8_t& value);

    // Forgets any half-moved byte and queued output, releases both lines.
    void ResetLink(CSimulatedCable& cable);

    // A real calculator gives up on a bit that the PC never completes. With a
    // limit set, the end resets its link (ResetLink, then OnLinkReset) after
    // that many port accesses spent waiting for the PC in the middle of a bit,
    // so a PC that abandoned an exchange can start the next one. 0 = never.
    void SetStallLimit(uint32_t steps) { m_nStallLimit = steps; }
    // Resets the link, as the stall limit does, at the next port access.
    void RequestLinkReset() { m_bResetRequested = true; }

    // With a pace (null for none, the default) the end starts a bit, its own
    // or its answer to the PC's, only when the pace allows, and resets its
    // link after GIVE_UP_MS without a bit, so an exchange the PC abandoned
    // mid-packet does not hold up the next one. The pace must outlive its
    // use here.
    void SetPace(CCablePace* pace) { m_pPace = pace; }
    static constexpr uint64_t GIVE_UP_MS = 2000;

protected:
    virtual void OnByteReceived(uint8_t value) { m_received.push_back(value); }
    virtual void OnByteSent() {}
    virtual void OnLinkReset() {}

private:
    enum class Phase {
        Idle,           // between bits
        ReceiveRelease, // acknowledged a PC bit, waiting for the PC to release its line
        SendAck,        // pulled a line, waiting for the PC's acknowledgement
        SendRelease,    // released, waiting for the PC to release its acknowledgement
    };

    bool StepOnce(CSimulatedCable& cable);
    void FinishBit();
    void WatchForStall(CSimulatedCable& cable, uint64_t bitsBefore);
    bool PaceAllowsBit();
    void ForgetBytes();
    void GiveUpOnWholeBytes();

    std::deque<uint8_t> m_outbox;
    std::vector<uint8_t> m_received;
    Phase m_phase = Phase::Idle;
    bool m_bSending = false;
    bool m_bBit = false;
    int m_nBit = 0;
    uint8_t m_shift = 0;
    uint64_t m_nBitsMoved = 0;
    uint64_t m_nSilentAfterBits = std::numeric_limits<uint64_t>::max();
    bool m_bHoldBoth = false;
    // Port accesses still to pass before a byte of our own may start.
    int m_nTurnaroundSteps = 0;
    uint32_t m_nStallLimit = 0;
    uint32_t m_nStalledSteps = 0;
    bool m_bResetRequested = false;
    CCablePace* m_pPace = nullptr;
};
