#include "link/DirectoryListing.h"

#include "link/Link.h"
#include "link/LinkProgress.h"
#include "link/Packets.h"
#include "link/VarTypes.h"
#include "text/StringIds.h"

#include <cstring>

namespace {

constexpr size_t NAME_OFFSET = 4;
constexpr size_t NAME_LENGTH = 8;
constexpr size_t TYPE_OFFSET = 12;
constexpr size_t ATTRIBUTE_OFFSET = 13;
constexpr size_t SIZE_OFFSET = 14;

bool ReceiveHeader(CLink& link, uint8_t (&header)[PACKET_HEADER_SIZE])
{
    for (uint8_t& b : header)
        if (!link.ReceiveByte(b))
            return false;
    return true;
}

uint16_t LengthOf(const uint8_t (&header)[PACKET_HEADER_SIZE])
{
    return static_cast<uint16_t>(header[2] | (header[3] << 8));
}

uint32_t ReadLittleEndian32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

} // namespace

bool CDirectoryListing::ReadDirectory(CLink& link)
{
    // How many entries will come is not known beforehand.
    CLinkExchange exchange(link, IDS_PROGRESS_DIRECTORY, {}, 0);
    if (!link.SendSequence(SEQ_RDY) || !link.ExpectSequence(SEQ_CALC_ACK))
        return false;
    if (!link.SendSequence(SEQ_DIR_REQ) || !link.ExpectSequence(SEQ_CALC_ACK))
        return false;
    if (!ReadFirstReply(link))
        return false;

    for (;;) {
        if (!link.SendSequence(SEQ_ACK) || !link.SendSequence(SEQ_CTS) ||
            !link.ExpectSequence(SEQ_CALC_ACK))
            return false;
        if (!ReadEntryPacket(link))
            return false;
        if (!link.SendSequence(SEQ_ACK))
            return false;

        // Only the command of the closing packet counts; nothing after its
        // header is read.
        uint8_t closing[PACKET_HEADER_SIZE];
        if (!ReceiveHeader(link, closing))
            return false;
        if (closing[1] == CMD_CONT)
            continue;
        if (closing[1] == CMD_EOT)
            return link.SendSequence(SEQ_ACK);
        return false;
    }
}

// The reply to the request is read in full and its checksum checked, but its
// contents are not used.
bool CDirectoryListing::ReadFirstReply(CLink& link)
{
    uint8_t header[PACKET_HEADER_SIZE];
    if (!ReceiveHeader(link, header))
        return false;
    const size_t total = static_cast<size_t>(LengthOf(header)) + 2;
    // A reply that cannot fit the buffer is refused before any of it is read.
    if (total > RECEIVE_BUFFER_SIZE)
        return false;
    uint16_t sum = 0;
    for (size_t i = 0; i < total; ++i) {
        if (!link.ReceiveByte(m_buffer[i]))
            return false;
        sum = static_cast<uint16_t>(sum + m_buffer[i]);
    }
    return CLink::VerifyChecksum(sum, m_buffer + total - 2);
}

bool CDirectoryListing::ReadEntryPacket(CLink& link)
{
    uint8_t header[PACKET_HEADER_SIZE];
    if (!ReceiveHeader(link, header))
        return false;
    const size_t length = LengthOf(header);
    // An entry too short to hold its fields, or too long for the buffer, ends
    // the listing before its data is read.
    if (length < ENTRY_SIZE || length > RECEIVE_BUFFER_SIZE - 1)
        return false;
    uint16_t sum = 0;
    for (size_t i = 0; i < length; ++i) {
        if (!link.ReceiveByte(m_buffer[i]))
            return false;
        sum = static_cast<uint16_t>(sum + m_buffer[i]);
    }
    uint8_t checksum[2];
    if (!link.ReceiveByte(checksum[0]) || !link.ReceiveByte(checksum[1]))
        return false;
    if (sum != static_cast<uint16_t>(checksum[0] | (checksum[1] << 8)))
        return false;
    StoreEntry(m_buffer);
    return true;
}

void CDirectoryListing::StoreEntry(const uint8_t* data)
{
    // Up to the first zero byte; an eight-byte name has no terminator.
    const char* name = reinterpret_cast<const char*>(data + NAME_OFFSET);
    const size_t nameLength = strnlen(name, NAME_LENGTH);
    std::string strName(name, nameLength);
    const uint8_t type = data[TYPE_OFFSET];
    const uint32_t size = ReadLittleEndian32(data + SIZE_OFFSET);

    if (type == FOLDER_ENTRY_TYPE) {
        AddFolderEntry(strName, size);
        return;
    }
    VarEntry entry;
    entry.name = std::move(strName);
    entry.type = type;
    entry.size = size;
    entry.attributes = data[ATTRIBUTE_OFFSET];
    entry.folder = m_strCurFolder;
    AddVariableEntry(entry);
}

void CDirectoryListing::Clear()
{
    m_folders.clear();
    m_vars.clear();
}

bool CDirectoryListing::IsHiddenFolderName(const std::string& name)
{
    if (name.size() != 4)
        return false;
    for (char c : name)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool CDirectoryListing::AddFolderEntry(const std::string& name, uint32_t size)
{
    m_folders.push_back({name, size});
    m_strCurFolder = name;
    if (IsHiddenFolderName(name) || !m_pRows)
        return true;
    return m_pRows->InsertFolderRow(name, size);
}

void CDirectoryListing::AddVariableEntry(const VarEntry& entry)
{
    m_vars.push_back(entry);
}
