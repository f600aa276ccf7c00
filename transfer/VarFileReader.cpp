#include "transfer/VarFileReader.h"

#include "link/VarTypes.h"
#include "text/DisplayText.h"

#include <cstring>
#include <utility>

namespace {

// A name field as the user can read it: its bytes up to the last non-zero
// one, unprintable ones as \xHH.
std::string ShownField(const uint8_t* field)
{
    size_t length = VARFILE_NAME_SIZE;
    while (length > 0 && field[length - 1] == 0)
        --length;
    return CalcNameToDisplay(std::string(field, field + length));
}

// Whether the calculator receives exactly the name the field shows: a
// backslash would split it into another folder and name, and bytes after a
// zero would be dropped unseen. A variable needs a name; an empty folder
// field is accepted as it always was (backups of other programs have one).
bool IsSendableField(const uint8_t* field, bool mayBeEmpty)
{
    const size_t length = DecodeNameField(field).size();
    if (length == 0 && !mayBeEmpty)
        return false;
    for (size_t i = 0; i < VARFILE_NAME_SIZE; ++i) {
        if (i < length ? field[i] == '\\' : field[i] != 0)
            return false;
    }
    return true;
}

} // namespace

VarFileCheck CVarFileReader::Refuse(VarFileDamage damage, std::string subject)
{
    m_damage = damage;
    m_strDamageSubject = std::move(subject);
    return VarFileCheck::Damaged;
}

VarFileCheck CVarFileReader::Check()
{
    m_entries.clear();
    m_strDefaultFolder.clear();
    m_damage = VarFileDamage::None;
    m_strDamageSubject.clear();

    m_in.clear();
    m_in.seekg(0, std::ios::end);
    const std::streamoff end = m_in.tellg();
    if (!m_in || end < 0)
        return Refuse(VarFileDamage::HeaderCut, {});
    m_nFileLength = static_cast<uint64_t>(end);

    uint8_t header[VARFILE_HEADER_SIZE];
    if (m_nFileLength < VARFILE_SIGNATURE_SIZE || !ReadAt(0, header, VARFILE_SIGNATURE_SIZE) ||
        std::memcmp(header, VARFILE_SIGNATURE, VARFILE_SIGNATURE_SIZE) != 0)
        return VarFileCheck::NotVariableFile;
    if (!ReadAt(0, header, sizeof header))
        return Refuse(VarFileDamage::HeaderCut, {});

    m_strDefaultFolder = DecodeNameField(header + VARFILE_FOLDER_OFFSET);
    const size_t count = header[VARFILE_COUNT_OFFSET] | (header[VARFILE_COUNT_OFFSET + 1] << 8);

    // An entry count larger than the file can hold is damage, not a reason
    // to read on into the sections or past the end.
    const uint64_t tableLength = static_cast<uint64_t>(VARFILE_ENTRY_SIZE) * count;
    std::vector<uint8_t> table(VARFILE_HEADER_SIZE + tableLength > m_nFileLength ? 0 : tableLength);
    if (table.size() != tableLength || !ReadAt(VARFILE_HEADER_SIZE, table.data(), table.size()))
        return Refuse(VarFileDamage::EntriesBeyondEnd, std::to_string(count));
    m_entries.reserve(count);
    for (size_t i = 0; i < count; ++i)
        m_entries.push_back(DecodeEntry(table.data() + VARFILE_ENTRY_SIZE * i));

    for (size_t i = 0; i < count; ++i) {
        if (IsFolderEntry(i))
            continue;
        const VarFileCheck section = CheckSection(i);
        if (section != VarFileCheck::Ok)
            return section;
    }
    return CheckNames(header, table.data());
}

VarFileCheck CVarFileReader::CheckSection(size_t index)
{
    const uint64_t offset = GetSectionOffset(index);
    const std::string& name = m_entries[index].name;
    uint8_t prefix[SECTION_PREFIX_SIZE];
    if (offset + SECTION_PREFIX_SIZE > m_nFileLength || !ReadAt(offset, prefix, sizeof prefix))
        return Refuse(VarFileDamage::SectionCut, name);
    const size_t length = SectionLengthFromPrefix(prefix);
    if (length > SECTION_MAX_SIZE)
        return Refuse(VarFileDamage::SectionTooLong, name);
    // Every writer puts a section's sum (or, in the oldest group layout, the
    // sum of all sections) after it; a file that ends before those two bytes
    // was cut short, and its last variable may be cut with it.
    if (offset + length + VARFILE_CHECKSUM_SIZE > m_nFileLength)
        return Refuse(VarFileDamage::SectionCut, name);
    return VarFileCheck::Ok;
}

VarFileCheck CVarFileReader::CheckNames(const uint8_t* header, const uint8_t* table)
{
    // Only the folders that some variable is sent into matter.
    const uint8_t* folder = header + VARFILE_FOLDER_OFFSET;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const uint8_t* name = table + VARFILE_ENTRY_SIZE * i + VARFILE_ENTRY_NAME_OFFSET;
        if (IsFolderEntry(i)) {
            folder = name;
            continue;
        }
        if (!IsSendableField(folder, true))
            return Refuse(VarFileDamage::BadName, ShownField(folder));
        if (!IsSendableField(name, false))
            return Refuse(VarFileDamage::BadName, ShownField(name));
    }
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
