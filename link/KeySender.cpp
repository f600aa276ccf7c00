#include "link/KeySender.h"

#include "link/KeyPacket.h"
#include "link/LinkProgress.h"
#include "link/Packets.h"

#include <chrono>
#include <thread>
#include <utility>

CKeySender::CKeySender(CLink& link, IClock& clock, SleepFunction sleep) : m_link(link)
{
    SetClock(clock, std::move(sleep));
}

void CKeySender::SetClock(IClock& clock, SleepFunction sleep)
{
    m_pClock = &clock;
    m_sleep = std::move(sleep);
}

void CKeySender::SleepOnThread(uint64_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void CKeySender::WaitForGap()
{
    if (!m_bPressedBefore)
        return;
    for (;;) {
        const uint64_t elapsed = m_pClock->NowMs() - m_nLastKeyMs;
        if (elapsed >= KEY_GAP_MS)
            return;
        m_sleep(KEY_GAP_MS - elapsed);
    }
}

bool CKeySender::Press(const std::vector<uint16_t>& codes, int textId, const std::string& arg)
{
    // A key packet and its acknowledgement each way.
    CLinkExchange exchange(m_link, textId, arg, codes.size() * 2 * PACKET_HEADER_SIZE);
    m_wFailedKey = 0;
    for (uint16_t code : codes) {
        WaitForGap();
        const bool acknowledged = SendKeyPress(m_link, code);
        m_nLastKeyMs = m_pClock->NowMs();
        m_bPressedBefore = true;
        if (!acknowledged) {
            m_wFailedKey = code;
            return false;
        }
    }
    return true;
}
