#include "sim/PcPacketReader.h"

#include "link/Packets.h"

bool PcPacket::ChecksumMatches() const
{
    return MakeChecksum(data.data(), data.size()) == checksum;
}

bool CPcPacketReader::CarriesData(uint8_t command)
{
    return command == CMD_REQ || command == CMD_VAR || command == CMD_DATA;
}

void CPcPacketReader::Reset()
{
    m_packet = {};
    m_nHeaderBytes = 0;
    m_nChecksumBytes = 0;
    m_bInData = false;
}

bool CPcPacketReader::HeaderDone()
{
    if (!CarriesData(m_packet.command) || m_packet.length == 0) {
        m_nHeaderBytes = 0;
        return true;
    }
    m_bInData = true;
    m_packet.data.reserve(m_packet.length);
    return false;
}

bool CPcPacketReader::Add(uint8_t value)
{
    if (!m_bInData) {
        if (m_nHeaderBytes == 0) {
            m_packet = {};
        }
        switch (m_nHeaderBytes++) {
        case 0: m_packet.machine = value; return false;
        case 1: m_packet.command = value; return false;
        case 2: m_packet.length = value; return false;
        default:
            m_packet.length = static_cast<uint16_t>(m_packet.length | (value << 8));
            return HeaderDone();
        }
    }
    if (m_packet.data.size() < m_packet.length) {
        m_packet.data.push_back(value);
        return false;
    }
    if (m_nChecksumBytes++ == 0) {
        m_packet.checksum = value;
        return false;
    }
    m_packet.checksum = static_cast<uint16_t>(m_packet.checksum | (value << 8));
    m_nHeaderBytes = 0;
    m_nChecksumBytes = 0;
    m_bInData = false;
    return true;
}
