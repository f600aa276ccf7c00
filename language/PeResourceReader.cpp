#include "language/PeResourceReader.h"

#include "language/StringBlock.h"

#include <set>

namespace {

constexpr uint16_t MAGIC_PE32 = 0x10B;
constexpr uint16_t MAGIC_PE32_PLUS = 0x20B;
constexpr uint16_t FILE_DLL = 0x2000;
constexpr uint32_t RESOURCE_DIRECTORY = 2;
constexpr uint32_t HIGH_BIT = 0x80000000u;
constexpr size_t DIRECTORY_HEADER = 16;
constexpr size_t ENTRY_SIZE = 8;
constexpr size_t DATA_ENTRY_SIZE = 16;
constexpr size_t SECTION_HEADER = 40;
// A language library holds a few dozen resources; a tree that fans out
// further than this is not one worth reading.
constexpr size_t MAX_ENTRIES = 1u << 16;
// Type, name and language: the tree is never deeper.
constexpr int LEVELS = 3;
// A type, name or language given by a string rather than a number.
constexpr int32_t NAMED = -1;

uint16_t Read16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Read32(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }

// [offset, offset + length) lies inside [0, size).
bool Fits(uint64_t size, uint64_t offset, uint64_t length) { return offset <= size && length <= size - offset; }

} // namespace

bool CPeResourceReader::Open(const uint8_t* data, size_t size)
{
    m_data = data;
    m_size = data != nullptr ? size : 0;
    m_bDll = false;
    m_sections.clear();
    m_resources.clear();
    m_treeOffset = 0;
    m_treeSize = 0;
    m_nEntries = 0;
    if (!ReadHeaders() || (m_treeSize != 0 && !WalkDirectory(0, 0, NAMED, NAMED))) {
        m_resources.clear();
        m_bDll = false;
        return false;
    }
    return true;
}

bool CPeResourceReader::ReadHeaders()
{
    if (!Fits(m_size, 0, 64) || m_data[0] != 'M' || m_data[1] != 'Z')
        return false;
    const uint64_t pe = Read32(m_data + 0x3C);
    if (!Fits(m_size, pe, 24) || Read32(m_data + pe) != 0x00004550) // "PE\0\0"
        return false;
    const uint8_t* file = m_data + pe + 4;
    const uint16_t nSections = Read16(file + 2);
    const uint16_t optionalSize = Read16(file + 16);
    m_bDll = (Read16(file + 18) & FILE_DLL) != 0;

    const uint64_t optional = pe + 24;
    if (!Fits(m_size, optional, optionalSize) || optionalSize < 2)
        return false;
    const uint8_t* opt = m_data + optional;
    uint64_t countAt = 0;
    if (Read16(opt) == MAGIC_PE32)
        countAt = 92;
    else if (Read16(opt) == MAGIC_PE32_PLUS)
        countAt = 108;
    else
        return false;
    if (countAt + 4 > optionalSize)
        return false;
    const uint64_t nDirectories = Read32(opt + countAt);
    if (countAt + 4 + nDirectories * 8 > optionalSize)
        return false;

    const uint64_t table = optional + optionalSize;
    if (!Fits(m_size, table, uint64_t(nSections) * SECTION_HEADER))
        return false;
    for (uint16_t i = 0; i < nSections; ++i) {
        const uint8_t* s = m_data + table + uint64_t(i) * SECTION_HEADER;
        const Section section{Read32(s + 12), Read32(s + 16), Read32(s + 20)};
        // Every section's bytes must be in the file: a cut copy is refused
        // whichever section it cuts into.
        if (!Fits(m_size, section.rawOffset, section.rawSize))
            return false;
        m_sections.push_back(section);
    }

    if (nDirectories <= RESOURCE_DIRECTORY)
        return true;
    const uint8_t* entry = opt + countAt + 4 + RESOURCE_DIRECTORY * 8;
    const uint32_t rva = Read32(entry);
    m_treeSize = Read32(entry + 4);
    if (m_treeSize == 0)
        return true;
    return MapRva(rva, m_treeSize, m_treeOffset);
}

bool CPeResourceReader::MapRva(uint64_t rva, uint64_t length, uint64_t& offset) const
{
    for (const Section& section : m_sections) {
        if (rva >= section.virtualAddress && Fits(section.rawSize, rva - section.virtualAddress, length)) {
            offset = section.rawOffset + (rva - section.virtualAddress);
            return true;
        }
    }
    return false;
}

bool CPeResourceReader::WalkDirectory(uint32_t at, int level, int32_t type, int32_t id)
{
    if (!Fits(m_treeSize, at, DIRECTORY_HEADER))
        return false;
    const uint8_t* header = m_data + m_treeOffset + at;
    const size_t nEntries = size_t(Read16(header + 12)) + Read16(header + 14);
    if (!Fits(m_treeSize, uint64_t(at) + DIRECTORY_HEADER, uint64_t(nEntries) * ENTRY_SIZE))
        return false;
    m_nEntries += nEntries;
    if (m_nEntries > MAX_ENTRIES)
        return false;
    for (size_t i = 0; i < nEntries; ++i) {
        const uint8_t* entry = header + DIRECTORY_HEADER + i * ENTRY_SIZE;
        const uint32_t name = Read32(entry);
        const uint32_t target = Read32(entry + 4);
        const bool bNamed = (name & HIGH_BIT) != 0;
        if (bNamed) {
            // A name: a counted UTF-16 string inside the tree.
            const uint32_t nameAt = name & ~HIGH_BIT;
            if (!Fits(m_treeSize, nameAt, 2) ||
                !Fits(m_treeSize, uint64_t(nameAt) + 2, uint64_t(Read16(m_data + m_treeOffset + nameAt)) * 2))
                return false;
        } else if (name > 0xFFFF) {
            return false;
        }
        // Types and names lead to directories, languages to data: a tree
        // that says otherwise (or loops back on itself) goes no deeper.
        const bool bDirectory = (target & HIGH_BIT) != 0;
        if (bDirectory != (level + 1 < LEVELS))
            return false;
        const int32_t number = bNamed ? NAMED : int32_t(name);
        bool ok = false;
        if (level == 0)
            ok = WalkDirectory(target & ~HIGH_BIT, 1, number, NAMED);
        else if (level == 1)
            ok = WalkDirectory(target & ~HIGH_BIT, 2, type, number);
        else
            ok = AddLeaf(target, type, id, number);
        if (!ok)
            return false;
    }
    return true;
}

bool CPeResourceReader::AddLeaf(uint32_t at, int32_t type, int32_t id, int32_t language)
{
    if (!Fits(m_treeSize, at, DATA_ENTRY_SIZE))
        return false;
    const uint8_t* entry = m_data + m_treeOffset + at;
    const uint32_t rva = Read32(entry);
    const uint32_t size = Read32(entry + 4);
    uint64_t offset = 0;
    if (!MapRva(rva, size, offset))
        return false;
    if (type != NAMED && id != NAMED && language != NAMED)
        m_resources.push_back(Resource{uint16_t(type), uint16_t(id), uint16_t(language), m_data + offset, size});
    return true;
}

const CPeResourceReader::Resource* CPeResourceReader::Find(uint16_t type, uint16_t id) const
{
    for (const Resource& resource : m_resources) {
        if (resource.type == type && resource.id == id)
            return &resource;
    }
    return nullptr;
}

bool CPeResourceReader::FindString(uint16_t id, std::u16string& text) const
{
    const Resource* block = Find(PE_RT_STRING, StringBlockOf(id));
    return block != nullptr && ReadBlockString(block->data, block->size, id % 16, text) && !text.empty();
}

std::vector<uint16_t> CPeResourceReader::GetStringIds() const
{
    std::set<uint16_t> ids;
    for (const Resource& block : m_resources) {
        if (block.type != PE_RT_STRING || block.id == 0)
            continue;
        for (unsigned index = 0; index < 16; ++index) {
            std::u16string text;
            if (ReadBlockString(block.data, block.size, index, text) && !text.empty())
                ids.insert(uint16_t((block.id - 1) * 16 + index));
        }
    }
    return {ids.begin(), ids.end()};
}
