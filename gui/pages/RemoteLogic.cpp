#include "gui/pages/RemoteLogic.h"

#include "gui/pages/RemoteView.h"
#include "link/KeyPacket.h"
#include "link/KeySender.h"
#include "link/KeyTable.h"
#include "link/Link.h"
#include "screen/PictureBits.h"
#include "screen/ScreenCapture.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <algorithm>

namespace {

// Shown of the queue; the rest is summed up as "...".
constexpr size_t QUEUE_NAMES_SHOWN = 12;

uint16_t CalcModifiers(unsigned pcModifiers)
{
    uint16_t modifiers = 0;
    if (pcModifiers & PC_SHIFT)
        modifiers |= KEY_MOD_SHIFT;
    if (pcModifiers & PC_CTRL)
        modifiers |= KEY_MOD_DIAMOND;
    if (pcModifiers & PC_ALT)
        modifiers |= KEY_MOD_2ND;
    return modifiers;
}

// The calculator's key for a PC key; DEL and INS are its backspace key
// with the diamond and with 2nd.
uint16_t CalcKeyFor(PcKey key)
{
    switch (key) {
    case PcKey::Enter: return KEY_ENTER;
    case PcKey::Backspace: return KEY_BACKSPACE;
    case PcKey::Delete: return KEY_MOD_DIAMOND + KEY_BACKSPACE;
    case PcKey::Insert: return KEY_MOD_2ND + KEY_BACKSPACE;
    case PcKey::Escape: return KEY_ESC;
    case PcKey::Up: return KEY_UP;
    case PcKey::Down: return KEY_DOWN;
    case PcKey::Left: return KEY_LEFT;
    case PcKey::Right: return KEY_RIGHT;
    default: return static_cast<uint16_t>(KEY_F1 + (static_cast<int>(key) - static_cast<int>(PcKey::F1)));
    }
}

} // namespace

CRemoteLogic::CRemoteLogic(IRemoteView& view) : m_view(view)
{
    m_screen.fill(0xFF);
}

CRemoteLogic::~CRemoteLogic()
{
    Release();
}

void CRemoteLogic::Release()
{
    if (m_pLink != nullptr)
        m_pLink->SetProgress(m_pSheetProgress);
    m_pLink = nullptr;
}

void CRemoteLogic::OnOpen(CLink* link)
{
    Release();
    m_pLink = link;
    if (m_pLink != nullptr) {
        // The sheet's progress would open its dialog over a long read; this
        // window shows its own progress, the screen.
        m_pSheetProgress = m_pLink->GetProgress();
        m_pLink->SetProgress(this);
    } else {
        m_strProblem = ProgramText(IDS_PORT_NOT_OPENED, {""});
    }
    std::vector<uint8_t> bits;
    if (BuildPictureBits(m_screen, SCREEN_ZOOM, bits))
        m_view.ShowScreen(bits, SCREEN_ZOOM);
    m_view.ShowModifiers(m_wLatched);
    ShowStatus();
    if (m_pLink != nullptr)
        m_view.ScheduleTick(0);
}

bool CRemoteLogic::OnClose()
{
    if (m_bBusy) {
        m_bClosing = true;
        return false;
    }
    Release();
    return true;
}

void CRemoteLogic::Pump()
{
    const uint64_t now = m_pClock->NowMs();
    if (now - m_nLastPumpMs < PUMP_EVERY_MS)
        return;
    m_nLastPumpMs = now;
    m_view.PumpEvents();
}

void CRemoteLogic::OnTick()
{
    // A tick that comes while the events are pumped during a read waits
    // for the read; the read schedules the next.
    if (m_bBusy || m_bClosing || m_pLink == nullptr)
        return;
    if (!m_queue.empty()) {
        SendNextKey();
        return;
    }
    if (m_view.IsHidden()) {
        m_strProblem = ProgramText(IDS_REMOTE_PAUSED);
        ShowStatus();
        m_view.ScheduleTick(HIDDEN_POLL_MS);
        return;
    }
    const uint64_t sinceFrame = m_pClock->NowMs() - m_nLastFrameStartMs;
    if (m_bFrameStarted && sinceFrame < MIN_FRAME_MS) {
        m_view.ScheduleTick(MIN_FRAME_MS - sinceFrame);
        return;
    }
    ReadScreen();
}

void CRemoteLogic::SendNextKey()
{
    const uint64_t sinceKey = m_pClock->NowMs() - m_nLastKeyMs;
    if (m_bKeySent && sinceKey < CKeySender::KEY_GAP_MS) {
        m_view.ScheduleTick(CKeySender::KEY_GAP_MS - sinceKey);
        return;
    }
    const uint16_t code = m_queue.front();
    m_bBusy = true;
    bool acknowledged = false;
    {
        CLinkExchange exchange(*m_pLink, IDS_PROGRESS_KEYS, KeyCodeName(code), 2 * 4);
        acknowledged = SendKeyPress(*m_pLink, code);
    }
    m_bBusy = false;
    m_nLastKeyMs = m_pClock->NowMs();
    m_bKeySent = true;
    m_queue.pop_front();
    if (acknowledged) {
        m_strProblem.clear();
    } else {
        // The keys after it were meant for a calculator in the state this
        // one would have left it in.
        m_strProblem = ProgramText(IDS_KEY_NOT_ACKNOWLEDGED, {KeyCodeName(code)});
        m_queue.clear();
    }
    ShowStatus();
    if (m_bClosing) {
        Release();
        m_view.EndWindow();
        return;
    }
    // The next key, or the screen that shows what the keys did, once the
    // calculator has had its moment.
    m_view.ScheduleTick(CKeySender::KEY_GAP_MS);
}

void CRemoteLogic::ReadScreen()
{
    m_bFrameStarted = true;
    m_nLastFrameStartMs = m_pClock->NowMs();
    m_bBusy = true;
    const bool received = ::ReceiveScreen(*m_pLink, m_screen);
    m_bBusy = false;
    if (m_bClosing) {
        Release();
        m_view.EndWindow();
        return;
    }
    if (!received) {
        m_strProblem = ProgramText(IDS_CAPTURE_FAILED);
        ShowStatus();
        m_view.ScheduleTick(RETRY_MS);
        return;
    }
    std::vector<uint8_t> bits;
    if (BuildPictureBits(m_screen, SCREEN_ZOOM, bits))
        m_view.ShowScreen(bits, SCREEN_ZOOM);
    const uint64_t now = m_pClock->NowMs();
    ++m_nFrames;
    m_frameTimes.push_back(now);
    while (m_frameTimes.size() > 2 && now - m_frameTimes.front() > RATE_WINDOW_MS)
        m_frameTimes.pop_front();
    // The calculator answers again: what went wrong before is over.
    m_strProblem.clear();
    ShowStatus();
    const uint64_t sinceStart = now - m_nLastFrameStartMs;
    m_view.ScheduleTick(sinceStart < MIN_FRAME_MS ? MIN_FRAME_MS - sinceStart : 0);
}

uint64_t CRemoteLogic::GetRateTenths() const
{
    if (m_frameTimes.size() < 2 || m_frameTimes.back() == m_frameTimes.front())
        return 0;
    return (m_frameTimes.size() - 1) * 10000 / (m_frameTimes.back() - m_frameTimes.front());
}

void CRemoteLogic::ShowStatus()
{
    std::string rate;
    if (const uint64_t tenths = GetRateTenths())
        rate = ProgramText(IDS_REMOTE_RATE, {std::to_string(tenths / 10), std::to_string(tenths % 10)});
    std::string queue;
    if (m_queue.empty()) {
        queue = ProgramText(IDS_REMOTE_QUEUE_EMPTY);
    } else {
        std::string names;
        for (size_t i = 0; i < m_queue.size() && i < QUEUE_NAMES_SHOWN; ++i) {
            if (i > 0)
                names += ' ';
            names += KeyCodeName(m_queue[i]);
        }
        if (m_queue.size() > QUEUE_NAMES_SHOWN)
            names += " ...";
        queue = ProgramText(IDS_REMOTE_QUEUE, {names});
    }
    m_view.ShowStatus(rate, queue, m_strProblem);
}

void CRemoteLogic::Enqueue(uint16_t code)
{
    if (code == 0 || m_bClosing || m_queue.size() >= MAX_QUEUE)
        return;
    m_queue.push_back(code);
    ShowStatus();
    // Sent at the next tick, or after the read under way.
    if (!m_bBusy && m_pLink != nullptr)
        m_view.ScheduleTick(0);
}

void CRemoteLogic::OnFaceClick(int x, int y)
{
    const CalcKey* key = FindKeyAt(x, y);
    if (key == nullptr)
        return;
    if (key->modifier != 0) {
        m_wLatched = static_cast<uint16_t>(m_wLatched ^ key->modifier);
        m_view.ShowModifiers(m_wLatched);
        return;
    }
    const uint16_t code = key->CodeWith(m_wLatched);
    if (m_wLatched != 0) {
        m_wLatched = 0;
        m_view.ShowModifiers(m_wLatched);
    }
    Enqueue(code);
}

bool CRemoteLogic::OnPcCharacter(char32_t character, unsigned modifiers)
{
    uint16_t code = 0;
    const uint16_t held = static_cast<uint16_t>(CalcModifiers(modifiers & ~PC_SHIFT) | m_wLatched);
    if (held == 0) {
        // Shift is in the character already.
        code = KeyCodeForCharacter(character);
    } else {
        // With a modifier the key counts, not the character it would type.
        const char32_t upper = character >= U'a' && character <= U'z' ? character - U'a' + U'A' : character;
        const CalcKey* key = nullptr;
        for (const CalcKey& candidate : GetCalcKeys())
            if (candidate.modifier == 0 && candidate.name[1] == '\0' &&
                static_cast<unsigned char>(candidate.name[0]) == upper)
                key = &candidate;
        const uint16_t shift = (modifiers & PC_SHIFT) ? KEY_MOD_SHIFT : 0;
        code = key != nullptr ? key->CodeWith(static_cast<uint16_t>(held | shift)) : 0;
    }
    if (code == 0)
        return false;
    if (m_wLatched != 0) {
        m_wLatched = 0;
        m_view.ShowModifiers(m_wLatched);
    }
    Enqueue(code);
    return true;
}

bool CRemoteLogic::OnPcKey(PcKey key, unsigned modifiers)
{
    const uint16_t code = CalcKeyFor(key);
    const uint16_t held = static_cast<uint16_t>(CalcModifiers(modifiers) | m_wLatched);
    // DEL and INS carry their modifier already.
    const uint16_t combined = (code & KEY_MODIFIERS) != 0 ? code : static_cast<uint16_t>(code + held);
    if (m_wLatched != 0) {
        m_wLatched = 0;
        m_view.ShowModifiers(m_wLatched);
    }
    Enqueue(combined);
    return true;
}
