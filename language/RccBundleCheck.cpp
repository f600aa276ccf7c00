#include "language/RccBundleCheck.h"

#include <vector>

namespace {

constexpr size_t HEADER_SIZE = 20;
constexpr uint16_t FLAG_DIRECTORY = 0x02;
constexpr size_t MAX_DEPTH = 64;

uint32_t ReadBig32(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

uint16_t ReadBig16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

// [offset, offset + length) lies inside [0, size).
bool Fits(size_t size, uint64_t offset, uint64_t length) { return offset <= size && length <= size - offset; }

class CBundleWalker {
public:
    CBundleWalker(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool Check()
    {
        if (m_data == nullptr || m_size < HEADER_SIZE)
            return false;
        if (m_data[0] != 'q' || m_data[1] != 'r' || m_data[2] != 'e' || m_data[3] != 's')
            return false;
        m_nVersion = ReadBig32(m_data + 4);
        if (m_nVersion < 1 || m_nVersion > 3)
            return false;
        if (m_nVersion >= 3 && m_size < HEADER_SIZE + 4)
            return false;
        m_tree = ReadBig32(m_data + 8);
        m_payload = ReadBig32(m_data + 12);
        m_names = ReadBig32(m_data + 16);
        if (m_tree >= m_size || m_payload >= m_size || m_names >= m_size)
            return false;
        m_nodeSize = 14 + (m_nVersion >= 2 ? 8 : 0);
        m_nodeCount = (m_size - m_tree) / m_nodeSize;
        if (m_nodeCount == 0)
            return false;
        m_visited.assign(m_nodeCount, false);
        // The toolkit reads the first node's children without looking at its
        // flags, so a first node that is not a folder would send it reading
        // anywhere.
        if (!(ReadBig16(m_data + m_tree + 4) & FLAG_DIRECTORY))
            return false;
        return CheckNode(0, 0);
    }

private:
    bool CheckName(uint32_t nameOffset) const
    {
        const uint64_t at = uint64_t(m_names) + nameOffset;
        if (!Fits(m_size, at, 6))
            return false;
        const uint16_t length = ReadBig16(m_data + at);
        return Fits(m_size, at + 6, uint64_t(length) * 2);
    }

    bool CheckNode(uint64_t node, size_t depth)
    {
        if (node >= m_nodeCount || m_visited[node] || depth > MAX_DEPTH)
            return false;
        m_visited[node] = true;
        const uint8_t* p = m_data + m_tree + node * m_nodeSize;
        if (!CheckName(ReadBig32(p)))
            return false;
        const uint16_t flags = ReadBig16(p + 4);
        if (flags & FLAG_DIRECTORY) {
            const uint64_t count = ReadBig32(p + 6);
            const uint64_t first = ReadBig32(p + 10);
            if (count > m_nodeCount || first > m_nodeCount - count)
                return false;
            for (uint64_t child = first; child < first + count; ++child) {
                if (!CheckNode(child, depth + 1))
                    return false;
            }
            return true;
        }
        const uint64_t at = uint64_t(m_payload) + ReadBig32(p + 10);
        if (!Fits(m_size, at, 4))
            return false;
        return Fits(m_size, at + 4, ReadBig32(m_data + at));
    }

    const uint8_t* m_data;
    size_t m_size;
    uint32_t m_nVersion = 0;
    uint32_t m_tree = 0;
    uint32_t m_payload = 0;
    uint32_t m_names = 0;
    size_t m_nodeSize = 0;
    uint64_t m_nodeCount = 0;
    std::vector<bool> m_visited;
};

} // namespace

bool IsWholeRccBundle(const uint8_t* data, size_t size)
{
    return CBundleWalker(data, size).Check();
}
