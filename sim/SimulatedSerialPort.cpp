#include "sim/SimulatedSerialPort.h"

#include <utility>

CSimulatedSerialPort::CSimulatedSerialPort(CSimulatedCable& cable, CCalcLinkEnd& end, std::string name)
    : m_cable(cable), m_end(end), m_strName(std::move(name))
{
}

bool CSimulatedSerialPort::Open(SerialMode mode, std::string& error)
{
    if (!m_cable.OpenFromPc(error))
        return false;
    m_mode = mode;
    m_bOpen = true;
    m_nLineCalls = m_nWriteCalls = 0;
    return true;
}

bool CSimulatedSerialPort::SetLines(bool rts, bool dtr)
{
    if (!m_bOpen || m_cable.IsUnplugged())
        return false;
    ++m_nLineCalls;
    m_bRts = rts;
    m_bDtr = dtr;
    if (m_mode == SerialMode::ModemLines)
        m_cable.WriteFromPc(m_cable.GetBase(), static_cast<uint8_t>((rts ? 1 : 0) | (dtr ? 2 : 0)));
    return true;
}

bool CSimulatedSerialPort::GetLines(bool& cts, bool& dsr)
{
    if (!m_bOpen || m_cable.IsUnplugged())
        return false;
    ++m_nLineCalls;
    if (m_mode == SerialMode::ModemLines) {
        const uint8_t status = m_cable.ReadFromPc(static_cast<uint16_t>(m_cable.GetBase() + 1));
        cts = (status & 0x20) != 0;
        dsr = (status & 0x10) != 0;
    } else {
        cts = m_bRts;
        dsr = m_bDtr;
    }
    return true;
}

int CSimulatedSerialPort::Write(const uint8_t* data, size_t size, uint32_t)
{
    if (!m_bOpen || m_cable.IsUnplugged())
        return -1;
    ++m_nWriteCalls;
    for (size_t i = 0; i < size; ++i)
        m_end.ReceiveWholeByte(data[i]);
    return static_cast<int>(size);
}

int CSimulatedSerialPort::Read(uint8_t* data, size_t size, uint32_t)
{
    if (!m_bOpen || m_cable.IsUnplugged())
        return -1;
    size_t count = 0;
    while (count < size && m_end.TakeWholeByte(data[count]))
        ++count;
    return static_cast<int>(count);
}
