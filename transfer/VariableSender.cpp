#include "transfer/VariableSender.h"

#include "link/Link.h"
#include "link/Packets.h"
#include "text/UserMessages.h"
#include "transfer/ExchangeOpening.h"
#include "transfer/VarFileReader.h"

#include <new>

std::vector<uint8_t> CVariableSender::BuildAnnouncementPacket(const std::string& folder, const std::string& name,
                                                              uint8_t type, uint16_t length)
{
    // The size field carries the section's length.
    return BuildVariableHeaderPacket(CMD_VAR, folder, name, type, length);
}

bool CVariableSender::LoadVariableData(CVarFileReader& file, uint64_t offset)
{
    m_pVarData.reset();
    m_nVarDataLength = 0;

    uint8_t prefix[SECTION_PREFIX_SIZE];
    if (!file.ReadAt(offset, prefix, sizeof prefix))
        return false;
    const size_t length = SectionLengthFromPrefix(prefix);
    // The packets give a section's length 16 bits.
    if (length > SECTION_MAX_SIZE)
        return false;

    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[length]);
    if (!data || !file.ReadAt(offset, data.get(), length))
        return false;
    m_pVarData = std::move(data);
    m_nVarDataLength = length;
    return true;
}

bool CVariableSender::SendVariable(const VarFileEntry& entry, const std::string& folder)
{
    // Only a whole section, with the V its own prefix announces, is sent.
    if (!m_pVarData || m_nVarDataLength < SECTION_PREFIX_SIZE ||
        SectionLengthFromPrefix(m_pVarData.get()) != m_nVarDataLength)
        return false;
    const auto length = static_cast<uint16_t>(m_nVarDataLength);

    const std::vector<uint8_t> announcement = BuildAnnouncementPacket(folder, entry.name, entry.type, length);
    if (announcement.empty())
        return false;

    if (!OpenVariableExchange(m_link, m_messages, announcement.data()))
        return false;
    // An announcement that did not go out shows as the missing acknowledgement.
    if (!m_link.ExpectSequence(SEQ_CALC_ACK) || !m_link.ExpectSequence(SEQ_CALC_CTS) ||
        !m_link.SendSequence(SEQ_ACK))
        return false;

    // The file's own sum is never trusted: the packet's is computed afresh.
    // A failed send in here shows as the acknowledgement that does not come.
    const uint8_t dataHeader[] = {4, MACHINE_PC, CMD_DATA, static_cast<uint8_t>(length & 0xFF),
                                  static_cast<uint8_t>(length >> 8)};
    const uint16_t sum = MakeChecksum(m_pVarData.get(), length);
    const uint8_t checksum[] = {2, static_cast<uint8_t>(sum & 0xFF), static_cast<uint8_t>(sum >> 8)};
    m_link.SendSequence(dataHeader);
    m_link.SendBuffer(m_pVarData.get(), length);
    m_link.SendSequence(checksum);

    if (!m_link.ExpectSequence(SEQ_CALC_ACK))
        return false;
    if (!m_link.SendSequence(SEQ_EOT))
        return false;
    return m_link.ExpectSequence(SEQ_CALC_ACK);
}
