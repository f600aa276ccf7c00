#pragma once

#include "sim/CalcLinkEnd.h"

#include <cstdint>
#include <deque>
#include <vector>

// A calculator that follows a fixed script: it waits for exactly the bytes
// the PC is expected to send, then sends its own, and so on. Any byte that
// differs from the script, or arrives after it, is counted as a deviation,
// so a test can assert the whole conversation on the cable.
class CScriptedCablePeer final : public CCalcLinkEnd {
public:
    CScriptedCablePeer& Expect(std::vector<uint8_t> bytes)
    {
        m_steps.push_back({true, std::move(bytes)});
        return *this;
    }
    CScriptedCablePeer& Send(std::vector<uint8_t> bytes)
    {
        m_steps.push_back({false, std::move(bytes)});
        if (!m_bReplyDue && m_nPos == 0)
            QueueReplies();
        return *this;
    }

    // A reply starts one port access after the PC's last bit at the
    // earliest, so that the PC sees its acknowledgement line released before
    // the calculator pulls a line again.
    void Step(CSimulatedCable& cable) override
    {
        if (m_bReplyDue && ++m_nAccessesSinceByte > 1) {
            m_bReplyDue = false;
            QueueReplies();
        }
        CCalcLinkEnd::Step(cable);
    }

    bool Finished() const { return m_steps.empty() && !HasPendingOutput() && !m_bReplyDue; }
    int Deviations() const { return m_nDeviations; }
    const std::vector<uint8_t>& FromPc() const { return m_fromPc; }

protected:
    void OnByteReceived(uint8_t value) override
    {
        m_fromPc.push_back(value);
        if (m_steps.empty() || !m_steps.front().bFromPc || HasPendingOutput() || m_bReplyDue) {
            ++m_nDeviations;
            return;
        }
        ScriptStep& step = m_steps.front();
        if (step.bytes[m_nPos] != value)
            ++m_nDeviations;
        if (++m_nPos == step.bytes.size()) {
            m_steps.pop_front();
            m_nPos = 0;
            m_bReplyDue = true;
            m_nAccessesSinceByte = 0;
        }
    }

private:
    struct ScriptStep {
        bool bFromPc;
        std::vector<uint8_t> bytes;
    };

    // Queues every reply that is due before the next byte from the PC.
    void QueueReplies()
    {
        while (!m_steps.empty() && !m_steps.front().bFromPc) {
            QueueBytes(m_steps.front().bytes);
            m_steps.pop_front();
        }
    }

    std::deque<ScriptStep> m_steps;
    size_t m_nPos = 0;
    bool m_bReplyDue = false;
    int m_nAccessesSinceByte = 0;
    int m_nDeviations = 0;
    std::vector<uint8_t> m_fromPc;
};
