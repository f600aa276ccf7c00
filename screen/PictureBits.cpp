#include "screen/PictureBits.h"

#include <algorithm>
#include <new>

bool BuildPictureBits(std::span<const uint8_t, SCREEN_BYTES> screen, unsigned zoom,
                      std::vector<uint8_t>& bits)
{
    if (zoom < 1 || zoom > MAX_ZOOM)
        return false;

    const size_t rowBytes = static_cast<size_t>(SCREEN_ROW_BYTES) * zoom;
    std::vector<uint8_t> work;
    try {
        work.assign(SCREEN_BYTES * zoom * zoom, 0x00);
    } catch (const std::bad_alloc&) {
        return false;
    }

    for (int r = 0; r < SCREEN_HEIGHT; ++r) {
        uint8_t* firstCopy = work.data() + static_cast<size_t>(r) * zoom * rowBytes;
        for (int c = 0; c < SCREEN_ROW_BYTES; ++c) {
            const uint8_t source = screen[static_cast<size_t>(r) * SCREEN_ROW_BYTES + c];
            for (unsigned k = 0; k < 8; ++k) {
                if (((source >> (7 - k)) & 1) == 0)
                    continue;
                for (unsigned j = 0; j < zoom; ++j) {
                    const size_t x = zoom * (8 * static_cast<size_t>(c) + k) + j;
                    firstCopy[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
                }
            }
        }
        // The other copies of a source row are the same bytes.
        for (unsigned i = 1; i < zoom; ++i)
            std::copy_n(firstCopy, rowBytes, firstCopy + i * rowBytes);
    }

    bits.swap(work);
    return true;
}
