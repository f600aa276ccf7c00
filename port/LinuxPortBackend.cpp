#include "port/LinuxPortBackend.h"

#include "port/HardwarePort.h"
#include "port/ParportBackend.h"
#include "port/RawPortBackend.h"

#include <utility>

CLinuxPortBackend::CLinuxPortBackend(ILinuxSystem& system, uint16_t base, std::string procRoot,
                                     std::string devRoot)
    : m_system(system), m_wBase(base), m_strProcRoot(std::move(procRoot)),
      m_strDevRoot(std::move(devRoot))
{
}

bool CLinuxPortBackend::Open(std::string& error)
{
    Close();
    std::string parportError;
    auto parport = std::make_unique<CParportBackend>(m_system, m_wBase, m_strProcRoot, m_strDevRoot);
    if (parport->Open(parportError)) {
        m_active = std::move(parport);
        m_strMethod = "ppdev";
        return true;
    }

    std::string rawError;
    auto raw = std::make_unique<CRawPortBackend>(m_system, m_wBase);
    if (raw->Open(rawError)) {
        m_active = std::move(raw);
        m_strMethod = "raw";
        return true;
    }
    // The parport device is the way meant for users, so its reason is the one to act on.
    error = parportError;
    return false;
}

void CLinuxPortBackend::Close()
{
    if (m_active)
        m_active->Close();
    m_active.reset();
    m_strMethod.clear();
}

uint8_t CLinuxPortBackend::ReadByte(uint16_t port)
{
    return m_active ? m_active->ReadByte(port) : 0;
}

void CLinuxPortBackend::WriteByte(uint16_t port, uint8_t value)
{
    if (m_active)
        m_active->WriteByte(port, value);
}

#if !defined(_WIN32)
std::unique_ptr<IPortBackend> MakeHardwarePortBackend(uint16_t base)
{
    return std::make_unique<CLinuxPortBackend>(RealLinuxSystem(), base);
}
#endif
