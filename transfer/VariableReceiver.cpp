#include "transfer/VariableReceiver.h"

#include "link/Link.h"
#include "link/Packets.h"
#include "text/StringIds.h"
#include "text/UserMessages.h"
#include "transfer/ExchangeOpening.h"

#include <new>

std::vector<uint8_t> CVariableReceiver::BuildRequestPacket(const std::string& folder, const std::string& name,
                                                           uint8_t type)
{
    // A request names the variable with size 0.
    return BuildVariableHeaderPacket(CMD_REQ, folder, name, type, 0);
}

bool CVariableReceiver::ReceiveHeader(uint16_t& length)
{
    uint8_t header[PACKET_HEADER_SIZE];
    for (uint8_t& byte : header) {
        if (!m_link.ReceiveByte(byte))
            return false;
    }
    length = static_cast<uint16_t>(header[2] | (header[3] << 8));
    return true;
}

bool CVariableReceiver::ReceiveChecksumAndVerify(uint16_t sum)
{
    uint8_t low = 0;
    uint8_t high = 0;
    if (!m_link.ReceiveByte(low) || !m_link.ReceiveByte(high))
        return false;
    return static_cast<uint16_t>(low | (high << 8)) == sum;
}

bool CVariableReceiver::ReceiveVariableHeader()
{
    // The reply's contents are not used, only checked against their sum, so
    // a reply of any length is read without being stored anywhere.
    uint16_t length = 0;
    if (!ReceiveHeader(length))
        return false;
    uint16_t sum = 0;
    for (uint16_t i = 0; i < length; ++i) {
        uint8_t byte = 0;
        if (!m_link.ReceiveByte(byte))
            return false;
        sum = static_cast<uint16_t>(sum + byte);
    }
    return ReceiveChecksumAndVerify(sum);
}

bool CVariableReceiver::ReceiveDataPacket()
{
    uint16_t length = 0;
    if (!ReceiveHeader(length))
        return false;

    m_pVarData.reset();
    m_nVarDataLength = 0;
    m_pVarData.reset(new (std::nothrow) uint8_t[length == 0 ? 1 : length]());
    if (!m_pVarData) {
        m_messages.ShowMessage(IDS_OUT_OF_MEMORY);
        return false;
    }
    m_nVarDataLength = length;

    uint16_t sum = 0;
    for (uint16_t i = 0; i < length; ++i) {
        if (!m_link.ReceiveByte(m_pVarData[i]))
            return false;
        sum = static_cast<uint16_t>(sum + m_pVarData[i]);
    }
    return ReceiveChecksumAndVerify(sum);
}

bool CVariableReceiver::ReceiveVariable(const VarEntry& entry)
{
    const std::vector<uint8_t> request = BuildRequestPacket(entry.folder, entry.name, entry.type);
    if (request.empty())
        return false;

    if (!OpenVariableExchange(m_link, m_messages, request.data()))
        return false;
    // A request that did not go out shows as the missing acknowledgement.
    if (!m_link.ExpectSequence(SEQ_CALC_ACK)) {
        if (!m_link.WasCancelled())
            m_messages.ShowMessage(IDS_VAR_NOT_FOUND);
        return false;
    }
    if (!ReceiveVariableHeader())
        return false;
    if (!m_link.SendSequence(SEQ_ACK) || !m_link.SendSequence(SEQ_CTS) || !m_link.ExpectSequence(SEQ_CALC_ACK))
        return false;
    if (!ReceiveDataPacket())
        return false;
    if (!m_link.SendSequence(SEQ_ACK))
        return false;

    uint8_t closing[PACKET_HEADER_SIZE];
    for (uint8_t& byte : closing) {
        if (!m_link.ReceiveByte(byte))
            return false;
    }
    if (closing[1] != CMD_EOT)
        m_messages.ShowText(TEXT_UNATTENDED_END);
    return m_link.SendSequence(SEQ_ACK);
}

bool FindDirEntry(const std::vector<VarEntry>& vars, const std::string& name, const std::string& folder,
                  VarEntry& entry)
{
    for (const VarEntry& candidate : vars) {
        if (candidate.name == name && candidate.folder == folder) {
            entry = candidate;
            return true;
        }
    }
    return false;
}
