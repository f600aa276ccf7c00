#pragma once

#include "link/Clock.h"
#include "link/LinkProgress.h"
#include "screen/ScreenImage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

class CLink;
class IRemoteView;

// Keys of the PC keyboard that stand for calculator keys, beside the
// characters typed.
enum class PcKey { Enter, Backspace, Delete, Insert, Escape, Up, Down, Left, Right, F1, F2, F3, F4, F5, F6, F7, F8 };
// Modifiers held on the PC: Shift is the calculator's shift, Ctrl its
// diamond (which also makes its cut, copy and paste) and Alt its 2nd.
inline constexpr unsigned PC_SHIFT = 1;
inline constexpr unsigned PC_CTRL = 2;
inline constexpr unsigned PC_ALT = 4;

// What the remote window does, whatever toolkit draws it: it shows the
// calculator's screen, read again and again, and sends the keys the user
// clicks on the drawn keyboard or types on the PC's.
//
// Everything runs on the window's thread, as every exchange of the program
// does, and the window never stops answering: the logic reads one screen per
// tick of the window's timer, and while a screen is being read its own
// progress lets the window handle its events every PUMP_EVERY_MS. The window
// is modal, so nothing else uses the link meanwhile; a click during a read
// only queues its key. Keys go before screens: the queue is emptied, one key
// a tick and KEY_GAP_MS apart, before the next screen is read, and no screen
// is read while the window is hidden. Closing during a read lets the read
// finish (at the rate of the cable, a second at most on a real one) and
// then ends the window, so the calculator is never left half-way through a
// packet.
class CRemoteLogic final : private ILinkProgress {
public:
    static constexpr uint64_t PUMP_EVERY_MS = 15;
    // No faster than this many screens a second, for a calculator that is
    // faster than any cable (the simulated one).
    static constexpr uint64_t MIN_FRAME_MS = 50;
    static constexpr uint64_t HIDDEN_POLL_MS = 250;
    // A calculator that did not answer is asked again after this long.
    static constexpr uint64_t RETRY_MS = 1000;
    // The frame rate counts the screens of the last few seconds.
    static constexpr uint64_t RATE_WINDOW_MS = 4000;
    // Keys waiting beyond these are dropped: a held key does not queue
    // forever.
    static constexpr size_t MAX_QUEUE = 64;
    // Double size, as the face has room for.
    static constexpr unsigned SCREEN_ZOOM = 2;

    explicit CRemoteLogic(IRemoteView& view);
    ~CRemoteLogic() override;

    CRemoteLogic(const CRemoteLogic&) = delete;
    CRemoteLogic& operator=(const CRemoteLogic&) = delete;

    void SetClock(IClock& clock) { m_pClock = &clock; }

    // The window is up, with the sheet's link (null when the port did not
    // open): the link reports to this logic until the window ends, and the
    // first tick comes at once.
    void OnOpen(CLink* link);
    // The user closes the window. True when it may go now; false while a
    // screen is being read: the window then hides and the logic ends it
    // once the read is over.
    bool OnClose();
    // The window's timer.
    void OnTick();

    // A click on the drawn calculator, in face units: a key is queued, a
    // modifier key latched for the next key (or let go).
    void OnFaceClick(int x, int y);
    // A character typed on the PC; with Ctrl or Alt held, the character of
    // the key pressed. False when the calculator has no key for it.
    bool OnPcCharacter(char32_t character, unsigned modifiers);
    bool OnPcKey(PcKey key, unsigned modifiers);

    // What the window shows, for tests and benchmarks.
    const std::deque<uint16_t>& GetQueue() const { return m_queue; }
    uint16_t GetLatchedModifiers() const { return m_wLatched; }
    uint64_t GetFramesShown() const { return m_nFrames; }
    // Screens a second over the last RATE_WINDOW_MS, in tenths; 0 until
    // two screens have come.
    uint64_t GetRateTenths() const;
    bool IsReading() const { return m_bBusy; }
    bool IsClosing() const { return m_bClosing; }

private:
    void ExchangeStarted(int, const std::string&, uint64_t) override {}
    void BytesMoved(uint64_t) override { Pump(); }
    bool IsCancelRequested() override
    {
        Pump();
        return false;
    }
    void ExchangeEnded() override {}
    void Pump();

    void Enqueue(uint16_t code);
    void SendNextKey();
    void ReadScreen();
    void ShowStatus();
    void Release();

    IRemoteView& m_view;
    CSteadyClock m_steadyClock;
    IClock* m_pClock = &m_steadyClock;
    CLink* m_pLink = nullptr;
    ILinkProgress* m_pSheetProgress = nullptr;

    std::deque<uint16_t> m_queue;
    uint16_t m_wLatched = 0;
    bool m_bBusy = false;
    bool m_bClosing = false;
    bool m_bKeySent = false;
    uint64_t m_nLastKeyMs = 0;
    bool m_bFrameStarted = false;
    uint64_t m_nLastFrameStartMs = 0;
    uint64_t m_nLastPumpMs = 0;
    uint64_t m_nFrames = 0;
    std::deque<uint64_t> m_frameTimes;
    std::string m_strProblem;
    std::array<uint8_t, SCREEN_BYTES> m_screen;
};
