#include "port/PortIo.h"

#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <utility>

CPortIo::CPortIo(std::unique_ptr<IPortBackend> backend) : m_backend(std::move(backend)) {}

CPortIo::~CPortIo()
{
    if (m_bOpen)
        CloseDriver();
}

void CPortIo::SetBackend(std::unique_ptr<IPortBackend> backend)
{
    if (m_bOpen)
        CloseDriver();
    m_backend = std::move(backend);
}

bool CPortIo::OpenDriver()
{
    m_strLastError.clear();
    if (m_bOpen)
        return true;
    if (!m_backend) {
        m_strLastError = ProgramText(IDS_PORT_NO_ACCESS);
        return false;
    }
    m_bOpen = m_backend->Open(m_strLastError);
    if (m_bOpen)
        m_strLastError.clear();
    return m_bOpen;
}

void CPortIo::CloseDriver()
{
    if (!m_bOpen)
        return;
    m_backend->Close();
    m_bOpen = false;
}

uint8_t CPortIo::ReadPortByte(uint16_t port)
{
    if (!m_bOpen)
        return 0;
    return m_backend->ReadByte(port);
}

int CPortIo::WritePortByte(uint16_t port, uint8_t value)
{
    if (!m_bOpen)
        return 0;
    m_backend->WriteByte(port, value);
    return 1;
}
