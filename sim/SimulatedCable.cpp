#include "sim/SimulatedCable.h"

#include "text/ProgramTexts.h"
#include "text/StringIds.h"

namespace {

class CSimulatedCableBackend final : public IPortBackend {
public:
    explicit CSimulatedCableBackend(CSimulatedCable& cable) : m_cable(cable) {}

    bool Open(std::string& error) override { return m_cable.OpenFromPc(error); }
    void Close() override {}
    uint8_t ReadByte(uint16_t port) override { return m_cable.ReadFromPc(port); }
    void WriteByte(uint16_t port, uint8_t value) override { m_cable.WriteFromPc(port, value); }

private:
    CSimulatedCable& m_cable;
};

} // namespace

CSimulatedCable::CSimulatedCable(uint16_t base) : m_wBase(base) {}

std::unique_ptr<IPortBackend> CSimulatedCable::MakeBackend()
{
    return std::make_unique<CSimulatedCableBackend>(*this);
}

bool CSimulatedCable::OpenFromPc(std::string& error)
{
    if (m_bOpenFails) {
        error = ProgramText(IDS_SIM_UNPLUGGED);
        return false;
    }
    return true;
}

uint8_t CSimulatedCable::GetStatusRegister() const
{
    return static_cast<uint8_t>(FIXED_STATUS_BITS | (LineD0() ? 0x20 : 0) | (LineD1() ? 0x10 : 0));
}

uint8_t CSimulatedCable::ReadFromPc(uint16_t port)
{
    ++m_nReads;
    if (m_pPeer)
        m_pPeer->Step(*this);
    uint8_t value = 0xFF;
    if (port == m_wBase + 1)
        value = GetStatusRegister();
    else if (port == m_wBase)
        value = m_data;
    if (m_bLogging)
        m_log.push_back({false, port, value});
    return value;
}

void CSimulatedCable::WriteFromPc(uint16_t port, uint8_t value)
{
    ++m_nWrites;
    if (m_bLogging)
        m_log.push_back({true, port, value});
    if (port == m_wBase)
        m_data = value;
    if (m_pPeer)
        m_pPeer->Step(*this);
}

std::vector<uint8_t> CSimulatedCable::GetWrittenValues() const
{
    std::vector<uint8_t> values;
    for (const Access& access : m_log) {
        if (access.bWrite)
            values.push_back(access.value);
    }
    return values;
}
