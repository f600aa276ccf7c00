#include "cli/ProgressPortBackend.h"

#include "cli/ProgressMeter.h"

#include <utility>

CProgressPortBackend::CProgressPortBackend(std::unique_ptr<IPortBackend> inner, CProgressMeter& meter)
    : m_inner(std::move(inner)), m_meter(meter)
{
}

void CProgressPortBackend::WriteByte(uint16_t port, uint8_t value)
{
    m_inner->WriteByte(port, value);
    if (++m_nWrites == kWritesPerByte) {
        m_nWrites = 0;
        m_meter.AddBytes(1);
    }
}
