#include "clip/Rle8.h"

namespace {

constexpr uint8_t ESCAPE = 0;
constexpr uint8_t END_OF_LINE = 0;
constexpr uint8_t END_OF_PICTURE = 1;
constexpr uint8_t DELTA = 2;

} // namespace

bool DecodeRle8(const uint8_t* data, size_t size, uint32_t width, uint32_t height, std::vector<uint8_t>& pixels)
{
    if (pixels.size() != size_t(width) * height)
        return false;
    uint64_t x = 0;
    uint64_t row = 0; // counted from the bottom
    size_t pos = 0;
    auto put = [&](uint8_t value) {
        if (x >= width || row >= height)
            return false;
        pixels[size_t(height - 1 - row) * width + size_t(x)] = value;
        ++x;
        return true;
    };
    while (pos + 1 < size) {
        const uint8_t count = data[pos];
        const uint8_t value = data[pos + 1];
        pos += 2;
        if (count != ESCAPE) {
            for (unsigned i = 0; i < count; ++i) {
                if (!put(value))
                    return false;
            }
            continue;
        }
        if (value == END_OF_LINE) {
            x = 0;
            ++row;
        } else if (value == END_OF_PICTURE) {
            return true;
        } else if (value == DELTA) {
            if (pos + 1 >= size)
                return false;
            x += data[pos];
            row += data[pos + 1];
            pos += 2;
        } else {
            if (value > size - pos)
                return false;
            for (unsigned i = 0; i < value; ++i) {
                if (!put(data[pos + i]))
                    return false;
            }
            pos += value + (value & 1);
        }
    }
    // Coders may leave out the final mark; a stream that simply ends is whole.
    return pos == size;
}

std::vector<uint8_t> EncodeRle8(const std::vector<uint8_t>& pixels, uint32_t width, uint32_t height)
{
    std::vector<uint8_t> out;
    for (uint32_t row = 0; row < height; ++row) {
        const uint8_t* line = pixels.data() + size_t(height - 1 - row) * width;
        uint32_t x = 0;
        while (x < width) {
            uint32_t run = 1;
            while (x + run < width && run < 255 && line[x + run] == line[x])
                ++run;
            if (run >= 2) {
                out.push_back(uint8_t(run));
                out.push_back(line[x]);
                x += run;
                continue;
            }
            // A stretch of differing bytes: literal when at least three long.
            uint32_t literal = 1;
            while (x + literal < width && literal < 255 &&
                   !(x + literal + 1 < width && line[x + literal] == line[x + literal + 1]))
                ++literal;
            if (literal >= 3) {
                out.push_back(ESCAPE);
                out.push_back(uint8_t(literal));
                out.insert(out.end(), line + x, line + x + literal);
                if (literal & 1)
                    out.push_back(0);
                x += literal;
            } else {
                for (uint32_t i = 0; i < literal; ++i) {
                    out.push_back(1);
                    out.push_back(line[x + i]);
                }
                x += literal;
            }
        }
        out.push_back(ESCAPE);
        out.push_back(row + 1 == height ? END_OF_PICTURE : END_OF_LINE);
    }
    if (height == 0) {
        out.push_back(ESCAPE);
        out.push_back(END_OF_PICTURE);
    }
    return out;
}
