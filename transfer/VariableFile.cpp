#include "transfer/VariableFile.h"

#include "link/Packets.h"

#include <algorithm>
#include <cstring>

void PutLittleEndian32(uint8_t* out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetLittleEndian32(const uint8_t* in)
{
    return static_cast<uint32_t>(in[0]) | (static_cast<uint32_t>(in[1]) << 8) |
           (static_cast<uint32_t>(in[2]) << 16) | (static_cast<uint32_t>(in[3]) << 24);
}

namespace {

size_t EntryPosition(size_t index)
{
    return VARFILE_HEADER_SIZE + VARFILE_ENTRY_SIZE * index;
}

} // namespace

std::string DecodeNameField(const uint8_t* field)
{
    const uint8_t* end = std::find(field, field + VARFILE_NAME_SIZE, 0);
    return std::string(field, end);
}

VarFileEntry DecodeEntry(const uint8_t* bytes)
{
    VarFileEntry entry;
    entry.dataOffset = GetLittleEndian32(bytes);
    entry.name = DecodeNameField(bytes + VARFILE_ENTRY_NAME_OFFSET);
    entry.type = bytes[12];
    entry.attributes = bytes[13];
    return entry;
}

size_t SectionLengthFromPrefix(const uint8_t* section)
{
    return SECTION_PREFIX_SIZE + (static_cast<size_t>(section[4]) << 8) + section[5];
}

CVarFileBuilder::CVarFileBuilder(uint16_t count) : m_nCount(count)
{
    // Header, zeroed entry slots and a zeroed size block; every field not
    // set here (the comment, the reserved words) stays zero.
    m_bytes.assign(EntryPosition(count) + VARFILE_SIZE_BLOCK_SIZE, 0);
    std::memcpy(m_bytes.data(), VARFILE_SIGNATURE, VARFILE_SIGNATURE_SIZE);
    m_bytes[8] = 1; // format word
    std::memcpy(m_bytes.data() + VARFILE_FOLDER_OFFSET, VARFILE_DEFAULT_FOLDER,
                sizeof(VARFILE_DEFAULT_FOLDER) - 1);
    m_bytes[VARFILE_COUNT_OFFSET] = static_cast<uint8_t>(count & 0xFF);
    m_bytes[VARFILE_COUNT_OFFSET + 1] = static_cast<uint8_t>(count >> 8);
}

bool CVarFileBuilder::AddVariable(const std::string& name, uint8_t type, uint8_t attributes,
                                  const uint8_t* section, size_t length)
{
    if (m_nAdded >= m_nCount)
        return false;

    uint8_t* entry = m_bytes.data() + EntryPosition(m_nAdded);
    PutLittleEndian32(entry, static_cast<uint32_t>(m_bytes.size()));
    std::memcpy(entry + 4, name.data(), std::min(name.size(), VARFILE_NAME_SIZE));
    entry[12] = type;
    entry[13] = attributes;

    // Each section is followed by its own sum, so that every reader finds a
    // section's end from the next entry's offset or from its own V alike.
    m_bytes.insert(m_bytes.end(), section, section + length);
    AppendLittleEndian16(m_bytes, MakeChecksum(section, length));
    ++m_nAdded;
    return true;
}

std::vector<uint8_t> CVarFileBuilder::Finish()
{
    // A file with empty entry slots would send zero-named variables.
    if (m_nAdded != m_nCount)
        return {};
    uint8_t* sizeBlock = m_bytes.data() + EntryPosition(m_nCount);
    PutLittleEndian32(sizeBlock, static_cast<uint32_t>(m_bytes.size()));
    sizeBlock[4] = 0xA5;
    sizeBlock[5] = 0x5A;
    return std::move(m_bytes);
}
