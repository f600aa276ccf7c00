#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The PC file of one or more TI-92 variables. A 60-byte header (signature,
// default folder, entry count), a table of 16-byte entries, a 6-byte size
// block, then one data section per variable, each followed by the 16-bit sum
// of its bytes. Little-endian throughout, except a section's own content
// length V, which is big-endian. A single-variable file is the case of one
// entry: entry at 60, size block at 76, section at 82, its sum last.

inline constexpr size_t VARFILE_HEADER_SIZE = 60;
inline constexpr size_t VARFILE_ENTRY_SIZE = 16;
inline constexpr size_t VARFILE_SIZE_BLOCK_SIZE = 6;
inline constexpr size_t VARFILE_CHECKSUM_SIZE = 2;
inline constexpr size_t VARFILE_NAME_SIZE = 8;
inline constexpr size_t VARFILE_SIGNATURE_SIZE = 8;
inline constexpr char VARFILE_SIGNATURE[] = "**TI92**";

// Header fields.
inline constexpr size_t VARFILE_FOLDER_OFFSET = 10;
inline constexpr size_t VARFILE_COUNT_OFFSET = 58;
inline constexpr char VARFILE_DEFAULT_FOLDER[] = "main";
// Where an entry's name field starts.
inline constexpr size_t VARFILE_ENTRY_NAME_OFFSET = 4;

// A data section: four leading bytes, V big-endian, V content bytes. It
// travels whole in one data packet, whose length field has 16 bits.
inline constexpr size_t SECTION_PREFIX_SIZE = 6;
inline constexpr size_t SECTION_MAX_SIZE = 0xFFFF;

// Where the section of a single-variable file starts, whatever its entry says.
inline constexpr size_t VARFILE_SINGLE_SECTION_OFFSET =
    VARFILE_HEADER_SIZE + VARFILE_ENTRY_SIZE + VARFILE_SIZE_BLOCK_SIZE;

// One 16-byte entry. Type FOLDER_ENTRY_TYPE marks a folder entry, whose name
// becomes the folder of the variables after it.
struct VarFileEntry {
    uint32_t dataOffset = 0;
    std::string name;
    uint8_t type = 0;
    uint8_t attributes = 0;
};

void PutLittleEndian32(uint8_t* out, uint32_t value);
uint32_t GetLittleEndian32(const uint8_t* in);

// A name field: the bytes up to the first zero, all eight when there is none.
std::string DecodeNameField(const uint8_t* field);
VarFileEntry DecodeEntry(const uint8_t* bytes);

// V + 6 for the section starting at `section` (at least 6 bytes readable).
size_t SectionLengthFromPrefix(const uint8_t* section);

// Lays out a variable file in memory. The header and entry table come
// first, so the number of variables is fixed up front; each variable's
// section and its sum are appended as it arrives. A file with one variable
// is a single-variable file, with more a group file.
class CVarFileBuilder {
public:
    explicit CVarFileBuilder(uint16_t count);

    // `section` is the data packet's payload as received. False once all
    // announced entries are filled.
    bool AddVariable(const std::string& name, uint8_t type, uint8_t attributes,
                     const uint8_t* section, size_t length);

    size_t GetAdded() const { return m_nAdded; }
    uint16_t GetCount() const { return m_nCount; }

    // Writes the size block and hands over the finished file; empty while
    // any announced entry is still unfilled.
    std::vector<uint8_t> Finish();

private:
    std::vector<uint8_t> m_bytes;
    uint16_t m_nCount;
    size_t m_nAdded = 0;
};
