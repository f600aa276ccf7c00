#pragma once

#include "link/Clock.h"
#include "port/ByteCable.h"
#include "port/PortIo.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class ILinkProgress;

// The calculator link: bytes moved over the cable, and the packet operations
// above them. A cable is one of two kinds. A two-wire cable (the parallel
// cable, the black serial cable, the simulated cable) is reached as a port
// backend, and each byte crosses it bit by bit with a handshake and a
// time-out on every wait. A byte cable (the gray serial cable) does the
// handshake itself: bytes sent are gathered and handed over a packet at a
// time, when the link turns to reading or the exchange ends, and bytes
// received are read as they come, with the same time-out. The main sheet
// owns one link and its pages call it; tools without a GUI use it directly.
// Every operation returns true for success, false for a time-out or a
// mismatch, and shows no message.
class CLink {
public:
    CLink();
    explicit CLink(IClock& clock);
    // Closes the cable, handing over what is still gathered.
    ~CLink();

    CLink(const CLink&) = delete;
    CLink& operator=(const CLink&) = delete;

    // Chooses how the port's registers are reached (hardware, a parport
    // device, the simulated cable); takes effect at the next Open. A port
    // that is open is closed first.
    void SetPortBackend(std::unique_ptr<IPortBackend> backend);
    // Chooses a byte cable instead; takes effect at the next Open.
    void SetByteCable(std::unique_ptr<IByteCable> cable);
    // A cable of either kind has been chosen.
    bool HasPortBackend() const { return m_portIo.GetBackend() != nullptr || m_pByteCable != nullptr; }
    // Opens the port through the chosen backend, with the data register at
    // `base`, the status register at base + 1 and every wait limited to
    // `timeoutMs`. False when the port will not open; GetOpenError() says
    // why in a sentence for the user.
    bool Open(uint16_t base, uint32_t timeoutMs);
    bool Open(std::unique_ptr<IPortBackend> backend, uint16_t base, uint32_t timeoutMs);
    bool Open(std::unique_ptr<IByteCable> cable, uint32_t timeoutMs);
    // Hands over what is still gathered, then closes the cable.
    void Close();
    bool IsOpen() const { return m_portIo.IsOpen() || m_bByteCableOpen; }
    const std::string& GetOpenError() const { return m_pByteCable ? m_strByteCableError : m_portIo.GetLastError(); }

    uint16_t GetDataPort() const { return m_wDataPort; }
    uint16_t GetStatusPort() const { return m_wStatusPort; }
    uint32_t GetTimeout() const { return m_nTimeout; }

    bool SendByte(uint8_t value);
    bool ReceiveByte(uint8_t& value);
    // Lets go of both lines and watches the idle cable, with no time-out,
    // until the calculator pulls a line, which starts the first bit of a byte
    // it sends unasked (true), or until the exchange is cancelled (false). A
    // cancel is asked for before the wait and every STALL_POLL_MS during it.
    bool WaitIncoming();
    // Lets go of both lines, which a failed byte may have left pulled, so
    // that the cable is idle for the calculator to start on; on a byte
    // cable, hands over what is gathered.
    void ReleaseLines();

    // `seq` is a counted sequence: seq[0] bytes follow.
    bool SendSequence(const uint8_t* seq);
    bool ExpectSequence(const uint8_t* seq);
    bool SendBuffer(const uint8_t* data, uint16_t length);
    // `sum` is the running sum of every byte after the header, both checksum
    // bytes included; `checksum` points at the two received checksum bytes.
    static bool VerifyChecksum(uint16_t sum, const uint8_t* checksum);

    void SetClock(IClock& clock) { m_pClock = &clock; }

    // The watcher of exchanges (null for none): it hears of every byte and
    // may cancel. A cancel ends the exchange before its next byte, or in a
    // wait that has dragged on for STALL_POLL_MS; the lines are released and
    // every byte operation fails at once until the next exchange begins.
    void SetProgress(ILinkProgress* progress) { m_pProgress = progress; }
    ILinkProgress* GetProgress() const { return m_pProgress; }
    // An exchange begins and ends; nested ones belong to the outermost.
    // CLinkExchange calls these. An exchange begins by opening the cable
    // again when it failed in a way that may since have been mended (an
    // adapter unplugged and plugged back in), and ends, on a byte cable,
    // with the gathered bytes handed over and, after a failure, with both
    // directions flushed.
    void BeginExchange(int textId, const std::string& arg, uint64_t expectedBytes);
    void EndExchange();
    // The exchange under way, or the last one, was cancelled.
    bool WasCancelled() const { return m_bCancelled; }
    // Bytes received since the exchange under way, or the last one, began:
    // none means nothing at all answered.
    uint64_t GetBytesReceived() const { return m_nBytesReceived; }
    // The exchange under way, or the last one, waited its whole time-out
    // for the calculator and never heard a byte from it: most often a
    // calculator that is off, or another cable than the one chosen.
    bool HeardNothing() const { return m_bTimedOut && !m_bCancelled && m_nBytesReceived == 0; }
    // What became of a byte cable that failed, when it says more than the
    // exchange's own message (see IByteCable::DescribeFailure).
    std::string DescribeCableFailure() const { return m_pByteCable ? m_pByteCable->DescribeFailure() : std::string(); }

    // How often a wait that has lasted this long asks whether to go on.
    static constexpr uint64_t STALL_POLL_MS = 50;

private:
    // Polls the status register from `start` until (status & mask) == want.
    bool WaitStatus(uint8_t mask, uint8_t want, uint64_t start);
    bool WaitPulledLine(uint64_t start, uint8_t& status);
    void Pause();
    // Before each byte: false once the exchange is cancelled.
    bool MayMoveByte();
    // During a wait: false when a wait that drags on gets cancelled.
    bool MayGoOnWaiting(uint64_t start, uint64_t now);
    // Whether a wait begun at `start` has run out of time, noting it if so.
    bool OutOfTime(uint64_t start, uint64_t now);
    void Cancel();
    void ByteMoved();
    void ReopenIfBroken();

    // The byte cable's side.
    bool SendToByteCable(uint8_t value);
    bool ReceiveFromByteCable(uint8_t& value);
    bool WaitIncomingOnByteCable();
    // Hands the gathered bytes to the cable; false, with both directions
    // flushed, when it took none within the time-out or failed.
    bool FlushOutput();
    bool FillInput(bool bWithTimeout);
    void DiscardBytes();
    bool Failed();

    // Link state, set once when the port opens; later setting changes reach
    // the cable only at the next start.
    CPortIo m_portIo;
    uint16_t m_wDataPort = 0;
    uint16_t m_wStatusPort = 0;
    uint32_t m_nTimeout = 1000;

    CSteadyClock m_steadyClock;
    IClock* m_pClock;
    ILinkProgress* m_pProgress = nullptr;
    int m_nExchangeDepth = 0;
    bool m_bCancelled = false;
    uint64_t m_nBytesMoved = 0;
    uint64_t m_nBytesReceived = 0;
    uint64_t m_nLastPollMs = 0;
    bool m_bTimedOut = false;

    std::unique_ptr<IByteCable> m_pByteCable;
    bool m_bByteCableOpen = false;
    std::string m_strByteCableError;
    std::vector<uint8_t> m_outBytes;
    std::vector<uint8_t> m_inBytes;
    size_t m_nInPos = 0;
    // A byte operation of the exchange under way failed.
    bool m_bExchangeFailed = false;
    // The cable failed and would not open again: the next exchange tries.
    bool m_bReopenPending = false;
};

// Line bits of the status register and values of the data register.
inline constexpr uint8_t STATUS_LINE_D0 = 0x20;
inline constexpr uint8_t STATUS_LINE_D1 = 0x10;
inline constexpr uint8_t STATUS_LINES = STATUS_LINE_D0 | STATUS_LINE_D1;
inline constexpr uint8_t DATA_RELEASE_BOTH = 3;
inline constexpr uint8_t DATA_PULL_D0 = 2;
inline constexpr uint8_t DATA_PULL_D1 = 1;
