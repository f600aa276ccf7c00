#pragma once

#include "transfer/VariableFile.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CLink;
class CVarFileReader;
class IUserMessages;

// Sends one variable to the calculator: the ready check, the announcement,
// the data packet with a freshly computed sum and the end of transmission.
// The section sent is the one last loaded into m_pVarData.
class CVariableSender {
public:
    CVariableSender(CLink& link, IUserMessages& messages) : m_link(link), m_messages(messages) {}

    // Loads the data section at `offset` (V + 6 bytes). False, with the old
    // section forgotten, when it cannot be read in full or is longer than a
    // data packet can carry.
    bool LoadVariableData(CVarFileReader& file, uint64_t offset);

    // Sends the loaded section as folder\name of the entry's type. True when
    // the calculator acknowledged the end of transmission. Says itself when
    // the calculator does not answer the ready check (119); other failures
    // are silent.
    bool SendVariable(const VarFileEntry& entry, const std::string& folder);

    const uint8_t* GetVarData() const { return m_pVarData.get(); }
    size_t GetVarDataLength() const { return m_nVarDataLength; }

    // The announcement of a `length`-byte section as a counted sequence;
    // empty when the path is too long for one packet.
    static std::vector<uint8_t> BuildAnnouncementPacket(const std::string& folder, const std::string& name,
                                                        uint8_t type, uint16_t length);

private:
    CLink& m_link;
    IUserMessages& m_messages;
    std::unique_ptr<uint8_t[]> m_pVarData;
    size_t m_nVarDataLength = 0;
};
