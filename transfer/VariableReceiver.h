#pragma once

#include "link/DirEntries.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CLink;
class IUserMessages;

// Fetches one variable from the calculator: the request, the calculator's
// variable header, the data packet and the closing exchange. The data
// packet's payload, exactly as received, stays in m_pVarData until the next
// receive.
class CVariableReceiver {
public:
    CVariableReceiver(CLink& link, IUserMessages& messages) : m_link(link), m_messages(messages) {}

    // True when the variable's data is in m_pVarData. Says itself when the
    // calculator does not answer the ready check (119), refuses the request
    // (107), when memory runs out (122) and when the transfer ends with
    // another packet than end of transmission; other failures, and a
    // cancel, are silent.
    bool ReceiveVariable(const VarEntry& entry);

    const uint8_t* GetVarData() const { return m_pVarData.get(); }
    size_t GetVarDataLength() const { return m_nVarDataLength; }

    // The request for folder\name of `type` as a counted sequence; empty
    // when the path is too long for one packet.
    static std::vector<uint8_t> BuildRequestPacket(const std::string& folder, const std::string& name,
                                                   uint8_t type);

private:
    // Reads a packet header and returns its little-endian length field.
    bool ReceiveHeader(uint16_t& length);
    bool ReceiveChecksumAndVerify(uint16_t sum);
    bool ReceiveVariableHeader();
    bool ReceiveDataPacket();

    CLink& m_link;
    IUserMessages& m_messages;
    std::unique_ptr<uint8_t[]> m_pVarData;
    size_t m_nVarDataLength = 0;
};

// The entry of variable `name` in `folder` (exact, case-sensitive names);
// false when the listing holds none.
bool FindDirEntry(const std::vector<VarEntry>& vars, const std::string& name, const std::string& folder,
                  VarEntry& entry);
