#include "port/GrayCable.h"

#include <utility>

CGrayCable::CGrayCable(std::unique_ptr<ISerialDevice> device) : m_pDevice(std::move(device)) {}

bool CGrayCable::Open(std::string& error)
{
    Close();
    if (!m_pDevice->Open(SerialMode::Bytes9600, error))
        return false;
    // The cable's power. A port without modem lines (a pseudo-terminal,
    // some adapters) refuses; a cable powered otherwise still answers, and
    // one that is not says so by answering nothing.
    m_pDevice->SetLines(true, true);
    m_pDevice->Purge();
    m_bOpen = true;
    m_bFailed = false;
    return true;
}

void CGrayCable::Close()
{
    if (!m_bOpen)
        return;
    m_pDevice->Close();
    m_bOpen = false;
}

int CGrayCable::Watch(int result)
{
    if (result < 0)
        m_bFailed = true;
    return result;
}

int CGrayCable::Write(const uint8_t* data, size_t size, uint32_t waitMs)
{
    if (!m_bOpen || m_bFailed)
        return -1;
    return Watch(m_pDevice->Write(data, size, waitMs));
}

int CGrayCable::Read(uint8_t* data, size_t size, uint32_t waitMs)
{
    if (!m_bOpen || m_bFailed)
        return -1;
    return Watch(m_pDevice->Read(data, size, waitMs));
}

void CGrayCable::Purge()
{
    if (m_bOpen && !m_bFailed)
        m_pDevice->Purge();
}
