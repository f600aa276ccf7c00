#include "language/StringBlock.h"

namespace {

constexpr unsigned STRINGS_PER_BLOCK = 16;

uint16_t ReadUnit(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

// Steps over the string at `at`, whose units start at `start` and number
// `length`; false when it does not fit in the block.
bool NextString(size_t size, const uint8_t* block, size_t& at, size_t& start, size_t& length)
{
    if (size - at < 2)
        return false;
    length = ReadUnit(block + at);
    start = at + 2;
    if ((size - start) / 2 < length)
        return false;
    at = start + 2 * length;
    return true;
}

} // namespace

bool ReadBlockString(const uint8_t* block, size_t size, unsigned index, std::u16string& text)
{
    if (block == nullptr || index >= STRINGS_PER_BLOCK)
        return false;
    size_t at = 0, start = 0, length = 0;
    for (unsigned i = 0; i <= index; ++i) {
        if (!NextString(size, block, at, start, length))
            return false;
    }
    text.resize(length);
    for (size_t k = 0; k < length; ++k)
        text[k] = char16_t(ReadUnit(block + start + 2 * k));
    return true;
}

bool IsWholeStringBlock(const uint8_t* block, size_t size)
{
    if (block == nullptr)
        return false;
    size_t at = 0, start = 0, length = 0;
    for (unsigned i = 0; i < STRINGS_PER_BLOCK; ++i) {
        if (!NextString(size, block, at, start, length))
            return false;
    }
    // The resource compiler may pad a block to an even number of units.
    return size - at < 4;
}
