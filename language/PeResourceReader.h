#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Resource types by the numbers the system gives them.
inline constexpr uint16_t PE_RT_ICON = 3;
inline constexpr uint16_t PE_RT_DIALOG = 5;
inline constexpr uint16_t PE_RT_STRING = 6;
inline constexpr uint16_t PE_RT_GROUP_ICON = 14;
inline constexpr uint16_t PE_RT_VERSION = 16;

// The resources of a program or library file of the system (a PE image) held
// in memory. Opening checks the headers, the section table and the whole
// resource tree, so that nothing read afterwards lies outside the image: a
// truncated, damaged or hostile file is refused, never read out of bounds.
// The reader keeps pointers into the caller's bytes, which must outlive it.
class CPeResourceReader {
public:
    struct Resource {
        uint16_t type;
        uint16_t id;
        uint16_t language;
        const uint8_t* data;
        size_t size;
    };

    // False when the bytes are not a whole PE image with a sound resource
    // tree; the reader then holds no resources.
    bool Open(const uint8_t* data, size_t size);

    bool IsDll() const { return m_bDll; }
    // Every resource with a numbered type and name, in the tree's order
    // (named ones are checked but not listed).
    const std::vector<Resource>& GetResources() const { return m_resources; }
    // The first resource of that type and number, in any language; null when none.
    const Resource* Find(uint16_t type, uint16_t id) const;
    // String `id` of the string table; false when it is missing or empty,
    // which the system does not tell apart.
    bool FindString(uint16_t id, std::u16string& text) const;
    // The numbers of every non-empty string, in rising order.
    std::vector<uint16_t> GetStringIds() const;

private:
    bool ReadHeaders();
    bool MapRva(uint64_t rva, uint64_t length, uint64_t& offset) const;
    bool WalkDirectory(uint32_t at, int level, int32_t type, int32_t id);
    bool AddLeaf(uint32_t at, int32_t type, int32_t id, int32_t language);

    struct Section {
        uint32_t virtualAddress;
        uint32_t rawSize;
        uint32_t rawOffset;
    };

    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    bool m_bDll = false;
    std::vector<Section> m_sections;
    uint64_t m_treeOffset = 0; // file offset of the resource tree
    uint32_t m_treeSize = 0;
    size_t m_nEntries = 0; // entries walked, against trees that fan out without end
    std::vector<Resource> m_resources;
};
