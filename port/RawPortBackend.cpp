#include "port/RawPortBackend.h"

#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <cstring>

CRawPortBackend::CRawPortBackend(ILinuxSystem& system, uint16_t base)
    : m_system(system), m_wBase(base)
{
}

CRawPortBackend::~CRawPortBackend() { Close(); }

bool CRawPortBackend::Open(std::string& error)
{
    if (m_bOpen)
        return true;
    if (!m_system.IsRoot()) {
        error = ProgramText(IDS_PORT_NEEDS_ROOT);
        return false;
    }
    const int result = m_system.IoPerm(m_wBase, REGISTER_COUNT, true);
    if (result != 0) {
        error = ProgramText(IDS_PORT_REGISTERS_REFUSED, {std::strerror(-result)});
        return false;
    }
    m_bOpen = true;
    return true;
}

void CRawPortBackend::Close()
{
    if (!m_bOpen)
        return;
    m_system.IoPerm(m_wBase, REGISTER_COUNT, false);
    m_bOpen = false;
}

uint8_t CRawPortBackend::ReadByte(uint16_t port)
{
    // Only the granted registers: anything else would fault the process.
    if (!m_bOpen || port < m_wBase || port >= m_wBase + REGISTER_COUNT)
        return 0;
    return m_system.InByte(port);
}

void CRawPortBackend::WriteByte(uint16_t port, uint8_t value)
{
    if (!m_bOpen || port < m_wBase || port >= m_wBase + REGISTER_COUNT)
        return;
    m_system.OutByte(port, value);
}
