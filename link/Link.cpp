#include "link/Link.h"

#include "link/LinkProgress.h"

#include <algorithm>
#include <utility>

namespace {
constexpr int PAUSE_READS = 10;
// Bytes asked of a byte cable at once; what comes beyond a packet waits here
// for the next ReceiveByte.
constexpr size_t READ_CHUNK = 4096;
}

CLink::CLink() : m_pClock(&m_steadyClock) {}

CLink::CLink(IClock& clock) : m_pClock(&clock) {}

CLink::~CLink()
{
    Close();
}

void CLink::SetPortBackend(std::unique_ptr<IPortBackend> backend)
{
    Close();
    m_pByteCable.reset();
    m_portIo.SetBackend(std::move(backend));
}

void CLink::SetByteCable(std::unique_ptr<IByteCable> cable)
{
    Close();
    m_portIo.SetBackend(nullptr);
    m_pByteCable = std::move(cable);
}

bool CLink::Open(uint16_t base, uint32_t timeoutMs)
{
    if (m_pByteCable) {
        m_nTimeout = timeoutMs;
        m_strByteCableError.clear();
        if (!m_bByteCableOpen)
            m_bByteCableOpen = m_pByteCable->Open(m_strByteCableError);
        DiscardBytes();
        return m_bByteCableOpen;
    }
    if (!m_portIo.OpenDriver())
        return false;
    m_wDataPort = base;
    m_wStatusPort = static_cast<uint16_t>(base + 1);
    m_nTimeout = timeoutMs;
    return true;
}

bool CLink::Open(std::unique_ptr<IPortBackend> backend, uint16_t base, uint32_t timeoutMs)
{
    SetPortBackend(std::move(backend));
    return Open(base, timeoutMs);
}

bool CLink::Open(std::unique_ptr<IByteCable> cable, uint32_t timeoutMs)
{
    SetByteCable(std::move(cable));
    return Open(0, timeoutMs);
}

void CLink::Close()
{
    m_bReopenPending = false;
    if (m_bByteCableOpen) {
        FlushOutput();
        m_pByteCable->Close();
        m_bByteCableOpen = false;
    }
    DiscardBytes();
    m_portIo.CloseDriver();
}

void CLink::ReopenIfBroken()
{
    // A cable whose reopening failed is tried again at every exchange.
    if (m_pByteCable && (m_bReopenPending || (m_bByteCableOpen && m_pByteCable->NeedsReopen()))) {
        m_pByteCable->Close();
        m_bByteCableOpen = m_pByteCable->Open(m_strByteCableError);
        m_bReopenPending = !m_bByteCableOpen;
        DiscardBytes();
    } else if (m_portIo.GetBackend() != nullptr &&
               (m_bReopenPending || (m_portIo.IsOpen() && m_portIo.GetBackend()->NeedsReopen()))) {
        m_portIo.CloseDriver();
        m_bReopenPending = !m_portIo.OpenDriver();
    }
}

void CLink::BeginExchange(int textId, const std::string& arg, uint64_t expectedBytes)
{
    if (m_nExchangeDepth++ > 0)
        return;
    ReopenIfBroken();
    m_bCancelled = false;
    m_bExchangeFailed = false;
    m_bTimedOut = false;
    m_nBytesMoved = 0;
    m_nBytesReceived = 0;
    if (m_pProgress)
        m_pProgress->ExchangeStarted(textId, arg, expectedBytes);
}

void CLink::EndExchange()
{
    if (m_nExchangeDepth == 0 || --m_nExchangeDepth > 0)
        return;
    if (m_bByteCableOpen) {
        // Bytes left unread belong to a packet the exchange did not finish.
        if (!FlushOutput() || m_bExchangeFailed || m_nInPos < m_inBytes.size()) {
            DiscardBytes();
            m_pByteCable->Purge();
        }
    }
    if (m_pProgress)
        m_pProgress->ExchangeEnded();
}

void CLink::Cancel()
{
    m_bCancelled = true;
    if (m_bByteCableOpen) {
        // Nothing more of the exchange goes out; the cable's own computer
        // and the calculator time out on their side.
        DiscardBytes();
        m_pByteCable->Purge();
        return;
    }
    // The calculator may be left mid-packet; with both lines let go it
    // times out on its side.
    m_portIo.WritePortByte(m_wDataPort, DATA_RELEASE_BOTH);
}

bool CLink::MayMoveByte()
{
    if (m_nExchangeDepth == 0)
        return true;
    if (!m_bCancelled && m_pProgress && m_pProgress->IsCancelRequested())
        Cancel();
    return !m_bCancelled;
}

bool CLink::MayGoOnWaiting(uint64_t start, uint64_t now)
{
    // Bytes that flow are stopped between bytes; only a wait that drags on
    // (a calculator that stopped answering) is cut short.
    if (m_nExchangeDepth == 0 || m_pProgress == nullptr || now - start < STALL_POLL_MS ||
        now - m_nLastPollMs < STALL_POLL_MS)
        return true;
    m_nLastPollMs = now;
    if (!m_pProgress->IsCancelRequested())
        return true;
    Cancel();
    return false;
}

bool CLink::OutOfTime(uint64_t start, uint64_t now)
{
    if (now - start <= m_nTimeout)
        return false;
    m_bTimedOut = true;
    return true;
}

void CLink::ByteMoved()
{
    ++m_nBytesMoved;
    if (m_nExchangeDepth > 0 && m_pProgress)
        m_pProgress->BytesMoved(m_nBytesMoved);
}

bool CLink::WaitStatus(uint8_t mask, uint8_t want, uint64_t start)
{
    for (;;) {
        // Unsigned: a clock that seems to step back reads as a very long wait.
        const uint64_t now = m_pClock->NowMs();
        if (OutOfTime(start, now) || !MayGoOnWaiting(start, now))
            return false;
        if ((m_portIo.ReadPortByte(m_wStatusPort) & mask) == want)
            return true;
    }
}

bool CLink::WaitPulledLine(uint64_t start, uint8_t& status)
{
    for (;;) {
        const uint64_t now = m_pClock->NowMs();
        if (OutOfTime(start, now) || !MayGoOnWaiting(start, now))
            return false;
        status = m_portIo.ReadPortByte(m_wStatusPort);
        if ((status & STATUS_LINES) != STATUS_LINES)
            return true;
    }
}

void CLink::Pause()
{
    for (int i = 0; i < PAUSE_READS; ++i)
        m_portIo.ReadPortByte(m_wStatusPort);
}

bool CLink::SendByte(uint8_t value)
{
    if (!MayMoveByte())
        return false;
    if (m_pByteCable)
        return SendToByteCable(value);
    for (int bit = 0; bit < 8; ++bit) {
        // A 1 travels on line D0 and is acknowledged on D1; a 0 the other way round.
        const bool one = (value & 1) != 0;
        const uint8_t ackLine = one ? STATUS_LINE_D1 : STATUS_LINE_D0;

        m_portIo.WritePortByte(m_wDataPort, one ? DATA_PULL_D0 : DATA_PULL_D1);
        if (!WaitStatus(ackLine, 0, m_pClock->NowMs()))
            return false;
        m_portIo.WritePortByte(m_wDataPort, DATA_RELEASE_BOTH);
        if (!WaitStatus(ackLine, ackLine, m_pClock->NowMs()))
            return false;

        value >>= 1;
        Pause();
    }
    ByteMoved();
    return true;
}

bool CLink::ReceiveByte(uint8_t& value)
{
    value = 0;
    if (!MayMoveByte())
        return false;
    if (m_pByteCable)
        return ReceiveFromByteCable(value);
    for (int bit = 0; bit < 8; ++bit) {
        uint8_t status = 0;
        if (!WaitPulledLine(m_pClock->NowMs(), status))
            return false;

        // Only D0 pulled is a 1; D1 pulled, or both, is a 0.
        if ((status & STATUS_LINES) == STATUS_LINE_D1) {
            value = static_cast<uint8_t>((value >> 1) | 0x80);
            m_portIo.WritePortByte(m_wDataPort, DATA_PULL_D1);
            if (!WaitStatus(STATUS_LINE_D0, STATUS_LINE_D0, m_pClock->NowMs()))
                return false;
        } else {
            value = static_cast<uint8_t>(value >> 1);
            m_portIo.WritePortByte(m_wDataPort, DATA_PULL_D0);
            if (!WaitStatus(STATUS_LINE_D1, STATUS_LINE_D1, m_pClock->NowMs()))
                return false;
        }
        m_portIo.WritePortByte(m_wDataPort, DATA_RELEASE_BOTH);
    }
    ++m_nBytesReceived;
    ByteMoved();
    return true;
}

bool CLink::WaitIncoming()
{
    ReleaseLines();
    if (!MayMoveByte())
        return false;
    if (m_pByteCable)
        return WaitIncomingOnByteCable();
    const uint64_t start = m_pClock->NowMs();
    for (;;) {
        if ((m_portIo.ReadPortByte(m_wStatusPort) & STATUS_LINES) != STATUS_LINES)
            return true;
        if (!MayGoOnWaiting(start, m_pClock->NowMs()))
            return false;
    }
}

void CLink::ReleaseLines()
{
    if (m_pByteCable) {
        FlushOutput();
        return;
    }
    m_portIo.WritePortByte(m_wDataPort, DATA_RELEASE_BOTH);
}

bool CLink::SendSequence(const uint8_t* seq)
{
    const uint8_t count = seq[0];
    for (unsigned i = 1; i <= count; ++i) {
        if (!SendByte(seq[i]))
            return false;
    }
    return true;
}

bool CLink::ExpectSequence(const uint8_t* seq)
{
    const uint8_t count = seq[0];
    for (unsigned i = 0; i < count; ++i) {
        uint8_t received = 0;
        if (!ReceiveByte(received))
            return false;
        // An error command is never what was expected, whatever the sequence says.
        if ((i == 1 && received == 0x5A) || received != seq[1 + i])
            return Failed();
    }
    return true;
}

bool CLink::SendBuffer(const uint8_t* data, uint16_t length)
{
    for (uint16_t i = 0; i < length; ++i) {
        if (!SendByte(data[i]))
            return false;
    }
    return true;
}

bool CLink::VerifyChecksum(uint16_t sum, const uint8_t* checksum)
{
    const uint16_t received = static_cast<uint16_t>(checksum[0] | (checksum[1] << 8));
    const uint16_t dataSum = static_cast<uint16_t>(sum - checksum[0] - checksum[1]);
    return dataSum == received;
}

bool CLink::Failed()
{
    m_bExchangeFailed = true;
    return false;
}

void CLink::DiscardBytes()
{
    m_outBytes.clear();
    m_inBytes.clear();
    m_nInPos = 0;
}

bool CLink::SendToByteCable(uint8_t value)
{
    if (!m_bByteCableOpen)
        return Failed();
    m_outBytes.push_back(value);
    ByteMoved();
    return true;
}

bool CLink::FlushOutput()
{
    if (!m_bByteCableOpen)
        return m_outBytes.empty();
    size_t done = 0;
    uint64_t start = m_pClock->NowMs();
    while (done < m_outBytes.size()) {
        const int n = m_pByteCable->Write(m_outBytes.data() + done, m_outBytes.size() - done, STALL_POLL_MS);
        const uint64_t now = m_pClock->NowMs();
        if (n > 0) {
            done += static_cast<size_t>(n);
            start = now;
            continue;
        }
        if (n < 0 || OutOfTime(start, now) || !MayGoOnWaiting(start, now)) {
            DiscardBytes();
            m_pByteCable->Purge();
            return Failed();
        }
    }
    m_outBytes.clear();
    return true;
}

// Reads what the cable has, waiting for the first byte up to the time-out
// (or, without one, until the exchange is cancelled).
bool CLink::FillInput(bool bWithTimeout)
{
    if (!m_bByteCableOpen)
        return Failed();
    if (m_nInPos < m_inBytes.size())
        return true;
    m_inBytes.resize(READ_CHUNK);
    m_nInPos = 0;
    const uint64_t start = m_pClock->NowMs();
    for (;;) {
        const int n = m_pByteCable->Read(m_inBytes.data(), m_inBytes.size(), STALL_POLL_MS);
        if (n > 0) {
            m_inBytes.resize(static_cast<size_t>(n));
            return true;
        }
        const uint64_t now = m_pClock->NowMs();
        if (n < 0 || (bWithTimeout && OutOfTime(start, now)) || !MayGoOnWaiting(start, now)) {
            DiscardBytes();
            return Failed();
        }
    }
}

bool CLink::ReceiveFromByteCable(uint8_t& value)
{
    if (!FlushOutput() || !FillInput(true))
        return false;
    value = m_inBytes[m_nInPos++];
    ++m_nBytesReceived;
    ByteMoved();
    return true;
}

bool CLink::WaitIncomingOnByteCable()
{
    // No time-out: only a byte, a cancel or a failed cable ends the wait.
    return FlushOutput() && FillInput(false);
}
