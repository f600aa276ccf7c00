#include "sim/CalcFaults.h"

#include "link/Packets.h"

#include <algorithm>

void CCalcFaults::Plan(unsigned nth, Kind kind, uint16_t value)
{
    // The 0th packet from now has already gone: aim at the next one instead.
    const uint64_t serial = m_nSent + std::max(nth, 1u);
    m_planned.push_back({serial, kind, value});
}

void CCalcFaults::AnswerErrorAt(unsigned nth) { Plan(nth, Kind::Error, 0); }
void CCalcFaults::ReplaceCommandAt(unsigned nth, uint8_t command) { Plan(nth, Kind::Command, command); }
void CCalcFaults::CorruptChecksumAt(unsigned nth) { Plan(nth, Kind::Checksum, 0); }
void CCalcFaults::ResizeDataAt(unsigned nth, uint16_t length) { Plan(nth, Kind::Length, length); }

bool CCalcFaults::Shape(CalcPacket& packet)
{
    const uint64_t serial = ++m_nSent;
    bool keep = true;
    for (const Planned& fault : m_planned) {
        if (fault.serial != serial)
            continue;
        switch (fault.kind) {
        case Kind::Error:
            packet = CalcPacket::Bare(CMD_ERR);
            keep = false;
            break;
        case Kind::Command:
            packet.command = static_cast<uint8_t>(fault.value);
            break;
        case Kind::Checksum:
            packet.checksumError = static_cast<uint16_t>(packet.checksumError + 1);
            break;
        case Kind::Length:
            if (packet.bHasData)
                packet.data.resize(fault.value, 0);
            break;
        }
        if (!keep)
            break;
    }
    std::erase_if(m_planned, [serial](const Planned& fault) { return fault.serial <= serial; });
    return keep;
}
