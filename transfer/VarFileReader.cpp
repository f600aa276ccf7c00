#include "transfer/VarFileReader.h"

#include "link/VarTypes.h"

#include <cstring>

VarFileCheck CVarFileReader::Check()
{
    m_entries.clear();
    m_strDefaultFolder.clear();

    m_in.clear();
    m_in.seekg(0, std::ios::end);
    const std::streamoff end = m_in.tellg();
    if (!m_in || end < 0)
        return VarFileCheck::Damaged;
    m_nFileLength = static_cast<uint64_t>(end);

    uint8_t header[VARFILE_HEADER_SIZE];
    if (m_nFileLength < VARFILE_SIGNATURE_SIZE || !ReadAt(0, header, VARFILE_SIGNATURE_SIZE) ||
        std::memcmp(header, VARFILE_SIGNATURE, VARFILE_SIGNATURE_SIZE) != 0)
        return VarFileCheck::NotVariableFile;
    if (!ReadAt(0, header, sizeof header))
        return VarFileCheck::Damaged;

    m_strDefaultFolder = DecodeNameField(header + VARFILE_FOLDER_OFFSET);
    const size_t count = header[VARFILE_COUNT_OFFSET] | (header[VARFILE_COUNT_OFFSET + 1] << 8);

    // An entry count larger than the file can hold is damage, not a reason
    // to read on into the sections or past the end.
    const uint64_t tableLength = static_cast<uint64_t>(VARFILE_ENTRY_SIZE) * count;
    if (VARFILE_HEADER_SIZE + tableLength > m_nFileLength)
        return VarFileCheck::Damaged;
    std::vector<uint8_t> table(tableLength);
    if (!ReadAt(VARFILE_HEADER_SIZE, table.data(), table.size()))
        return VarFileCheck::Damaged;
    m_entries.reserve(count);
    for (size_t i = 0; i < count; ++i)
        m_entries.push_back(DecodeEntry(table.data() + VARFILE_ENTRY_SIZE * i));

    for (size_t i = 0; i < count; ++i) {
        if (IsFolderEntry(i))
            continue;
        const VarFileCheck section = CheckSection(GetSectionOffset(i));
        if (section != VarFileCheck::Ok)
            return section;
    }
    return VarFileCheck::Ok;
}

VarFileCheck CVarFileReader::CheckSection(uint64_t offset)
{
    uint8_t prefix[SECTION_PREFIX_SIZE];
    if (offset + SECTION_PREFIX_SIZE > m_nFileLength || !ReadAt(offset, prefix, sizeof prefix))
        return VarFileCheck::Damaged;
    const size_t length = SectionLengthFromPrefix(prefix);
    if (length > SECTION_MAX_SIZE)
        return VarFileCheck::Damaged;
    // Every writer puts a section's sum (or, in the oldest group layout, the
    // sum of all sections) after it; a file that ends before those two bytes
    // was cut short, and its last variable may be cut with it.
    if (offset + length + VARFILE_CHECKSUM_SIZE > m_nFileLength)
        return VarFileCheck::Damaged;
    return VarFileCheck::Ok;
}

bool CVarFileReader::IsFolderEntry(size_t index) const
{
    // In a single-variable file even type 0x1F is a variable of that type.
    return m_entries.size() >= 2 && m_entries[index].type == FOLDER_ENTRY_TYPE;
}

uint64_t CVarFileReader::GetSectionOffset(size_t index) const
{
    if (m_entries.size() == 1)
        return VARFILE_SINGLE_SECTION_OFFSET;
    return m_entries[index].dataOffset;
}

bool CVarFileReader::ReadAt(uint64_t offset, uint8_t* out, size_t length)
{
    m_in.clear();
    m_in.seekg(static_cast<std::streamoff>(offset), std::ios::beg);
    if (!m_in)
        return false;
    m_in.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(length));
    return m_in.gcount() == static_cast<std::streamsize>(length);
}
