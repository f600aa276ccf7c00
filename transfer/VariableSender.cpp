#include "transfer/VariableSender.h"

#include "link/Link.h"
#include "link/Packets.h"
#include "shell/StringIds.h"
#include "shell/UserMessages.h"
#include "transfer/VarFileReader.h"

#include <algorithm>
#include <new>

std::vector<uint8_t> CVariableSender::BuildAnnouncementPacket(const std::string& folder, const std::string& name,
                                                              uint8_t type, uint16_t length)
{
    const std::string path = folder + "\\" + name;
    if (path.size() > 0xFF)
        return {};
    // The section's length in a 32-bit size field, the type, the path's
    // length and the path.
    std::vector<uint8_t> data(6 + path.size(), 0);
    data[0] = static_cast<uint8_t>(length & 0xFF);
    data[1] = static_cast<uint8_t>(length >> 8);
    data[4] = type;
    data[5] = static_cast<uint8_t>(path.size());
    std::copy(path.begin(), path.end(), data.begin() + 6);
    return MakeCountedPacket(MACHINE_PC, CMD_VAR, data);
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

    if (!m_link.SendSequence(SEQ_RDY))
        return false;
    if (!m_link.ExpectSequence(SEQ_CALC_ACK)) {
        m_messages.ShowMessage(IDS_NOT_READY);
        return false;
    }
    // An announcement that did not go out shows as the missing acknowledgement.
    m_link.SendSequence(announcement.data());
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
