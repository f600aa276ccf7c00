#pragma once

#include <cstdint>
#include <string>

class CLink;

// What watches the link while an exchange runs and may stop it: a progress
// dialog in the window, a progress line and the interrupt signals on the
// command line. The link tells it when an exchange starts and ends and
// after every byte, and asks it before every byte (and now and then while
// a wait drags on) whether to go on. Everything runs on the thread of the
// exchange, so an implementation that keeps a window alive pumps its events
// from these calls.
class ILinkProgress {
public:
    virtual ~ILinkProgress() = default;

    // `textId` is the language string that says what the exchange does, with
    // `arg` for its "%s"; `expectedBytes` is roughly what it moves on the
    // cable, 0 when that is not known beforehand.
    virtual void ExchangeStarted(int textId, const std::string& arg, uint64_t expectedBytes) = 0;
    // `bytesDone` bytes have crossed the cable, either way, since the start.
    virtual void BytesMoved(uint64_t bytesDone) = 0;
    // True ends the exchange before the next byte.
    virtual bool IsCancelRequested() = 0;
    virtual void ExchangeEnded() = 0;
};

// One exchange on the link, from construction to destruction, as the
// progress sees it. Scopes nest; only the outermost one is reported.
class CLinkExchange {
public:
    CLinkExchange(CLink& link, int textId, const std::string& arg, uint64_t expectedBytes);
    ~CLinkExchange();

    CLinkExchange(const CLinkExchange&) = delete;
    CLinkExchange& operator=(const CLinkExchange&) = delete;

private:
    CLink& m_link;
};

// The message that reports a failed exchange: `failureId`, or the one
// message that says it was cancelled.
int ExchangeFailureMessage(const CLink& link, int failureId);
