#include "shell/StringBlock.h"

namespace {

constexpr unsigned kStringsPerBlock = 16;

uint16_t ReadUnit(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

} // namespace

bool ReadBlockString(const uint8_t* block, size_t size, unsigned index, std::u16string& text)
{
    if (block == nullptr || index >= kStringsPerBlock)
        return false;
    size_t at = 0;
    for (unsigned i = 0;; ++i) {
        if (size - at < 2)
            return false;
        const size_t length = ReadUnit(block + at);
        at += 2;
        if ((size - at) / 2 < length)
            return false;
        if (i == index) {
            text.resize(length);
            for (size_t k = 0; k < length; ++k)
                text[k] = char16_t(ReadUnit(block + at + 2 * k));
            return true;
        }
        at += 2 * length;
    }
}

bool IsWholeStringBlock(const uint8_t* block, size_t size)
{
    if (block == nullptr)
        return false;
    size_t at = 0;
    for (unsigned i = 0; i < kStringsPerBlock; ++i) {
        if (size - at < 2)
            return false;
        const size_t length = ReadUnit(block + at);
        at += 2;
        if ((size - at) / 2 < length)
            return false;
        at += 2 * length;
    }
    // The resource compiler may pad a block to an even number of units.
    return size - at < 4;
}
