#include "port/BlackCableBackend.h"

#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <utility>

CBlackCableBackend::CBlackCableBackend(std::unique_ptr<ISerialDevice> device, uint16_t base)
    : m_pDevice(std::move(device)), m_wBase(base)
{
}

bool CBlackCableBackend::Open(std::string& error)
{
    Close();
    if (!m_pDevice->Open(SerialMode::ModemLines, error))
        return false;
    // Both wires let go, and read back: a port (or a USB adapter) that
    // cannot do both has no modem lines for the cable.
    bool cts = false;
    bool dsr = false;
    if (!m_pDevice->SetLines(true, true) || !m_pDevice->GetLines(cts, dsr)) {
        error = ProgramText(IDS_SERIAL_NO_MODEM_LINES, {m_pDevice->GetName()});
        m_pDevice->Close();
        return false;
    }
    m_data = DATA_RED | DATA_WHITE;
    m_bOpen = true;
    m_bFailed = false;
    return true;
}

void CBlackCableBackend::Close()
{
    if (!m_bOpen)
        return;
    m_pDevice->Close();
    m_bOpen = false;
}

uint8_t CBlackCableBackend::ReadByte(uint16_t port)
{
    if (port == m_wBase)
        return m_data;
    if (port != m_wBase + 1 || !m_bOpen)
        return 0;
    bool cts = false;
    bool dsr = false;
    if (m_bFailed || !m_pDevice->GetLines(cts, dsr)) {
        // Read as an idle cable: every wait for the calculator then times
        // out, and the exchange fails with its own message.
        m_bFailed = true;
        return STATUS_RED | STATUS_WHITE;
    }
    return static_cast<uint8_t>((cts ? STATUS_RED : 0) | (dsr ? STATUS_WHITE : 0));
}

void CBlackCableBackend::WriteByte(uint16_t port, uint8_t value)
{
    if (port != m_wBase || !m_bOpen || m_bFailed)
        return;
    value &= DATA_RED | DATA_WHITE;
    // Each access may be a round trip to a USB adapter: only a change is sent.
    if (value == m_data)
        return;
    if (!m_pDevice->SetLines((value & DATA_RED) != 0, (value & DATA_WHITE) != 0)) {
        m_bFailed = true;
        return;
    }
    m_data = value;
}
