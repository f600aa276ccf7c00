#include "screen/MonoImageFile.h"

#include "screen/PictureFormat.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

void PutLe16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutLe32(std::vector<uint8_t>& out, uint32_t value)
{
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16);
}

void PutBe32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

// The row's bits with anything beyond the last pixel cleared, so the padding
// of a file never depends on what the caller's buffer held there.
std::vector<uint8_t> CleanRow(const MonoPicture& picture, int y)
{
    const size_t used = (static_cast<size_t>(picture.width) + 7) / 8;
    std::vector<uint8_t> row(picture.bits + static_cast<size_t>(y) * picture.rowBytes,
                             picture.bits + static_cast<size_t>(y) * picture.rowBytes + used);
    if (const int spare = picture.width % 8; spare != 0 && !row.empty())
        row.back() &= static_cast<uint8_t>(0xFF << (8 - spare));
    return row;
}

uint32_t Crc32(const uint8_t* data, size_t length, uint32_t crc = 0)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < length; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const std::vector<uint8_t>& data)
{
    uint32_t a = 1;
    uint32_t b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void PutPngChunk(std::vector<uint8_t>& out, const char (&type)[5], const std::vector<uint8_t>& data)
{
    PutBe32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBe32(out, Crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored blocks: a screen is small, and stored blocks need
// no compressor that could differ from one build to the next.
std::vector<uint8_t> ZlibStored(const std::vector<uint8_t>& raw)
{
    constexpr size_t MAX_BLOCK = 0xFFFF;
    std::vector<uint8_t> out{0x78, 0x01};
    size_t done = 0;
    do {
        const size_t length = std::min(MAX_BLOCK, raw.size() - done);
        out.push_back(done + length == raw.size() ? 1 : 0);
        PutLe16(out, static_cast<uint32_t>(length));
        PutLe16(out, static_cast<uint32_t>(~length & 0xFFFF));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(done),
                   raw.begin() + static_cast<std::ptrdiff_t>(done + length));
        done += length;
    } while (done < raw.size());
    PutBe32(out, Adler32(raw));
    return out;
}

} // namespace

MonoImageFormat MonoImageFormatFromPath(const std::string& path)
{
    const std::string extension = FindPictureFormat(path, {"bmp", "png", "pbm"});
    if (extension == "bmp")
        return MonoImageFormat::Bmp;
    if (extension == "png")
        return MonoImageFormat::Png;
    if (extension == "pbm")
        return MonoImageFormat::Pbm;
    return MonoImageFormat::None;
}

const char* MonoImageExtensions()
{
    return "bmp, pbm, png";
}

std::vector<uint8_t> EncodeMonoBmp(const MonoPicture& picture)
{
    constexpr uint32_t HEADERS = 14 + 40 + 8;
    const uint32_t stride = ((static_cast<uint32_t>(picture.width) + 31) / 32) * 4;
    const uint32_t imageBytes = stride * static_cast<uint32_t>(picture.height);
    std::vector<uint8_t> out;
    out.reserve(HEADERS + imageBytes);
    out.push_back('B');
    out.push_back('M');
    PutLe32(out, HEADERS + imageBytes);
    PutLe32(out, 0);
    PutLe32(out, HEADERS);
    PutLe32(out, 40);
    PutLe32(out, static_cast<uint32_t>(picture.width));
    PutLe32(out, static_cast<uint32_t>(picture.height)); // bottom row first
    PutLe16(out, 1);
    PutLe16(out, 1);
    PutLe32(out, 0); // no compression
    PutLe32(out, imageBytes);
    PutLe32(out, 3780); // 96 dots per inch
    PutLe32(out, 3780);
    PutLe32(out, 2);
    PutLe32(out, 2);
    PutLe32(out, 0x00000000); // clear bit: black
    PutLe32(out, 0x00FFFFFF); // set bit: white
    for (int y = picture.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row = CleanRow(picture, y);
        row.resize(stride, 0);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::vector<uint8_t> EncodeMonoPng(const MonoPicture& picture)
{
    std::vector<uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBe32(header, static_cast<uint32_t>(picture.width));
    PutBe32(header, static_cast<uint32_t>(picture.height));
    // One bit per pixel of grey, where 1 is white: the screen's own bits.
    header.insert(header.end(), {1, 0, 0, 0, 0});
    PutPngChunk(out, "IHDR", header);

    std::vector<uint8_t> raw;
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back(0); // no filter
        const std::vector<uint8_t> row = CleanRow(picture, y);
        raw.insert(raw.end(), row.begin(), row.end());
    }
    PutPngChunk(out, "IDAT", ZlibStored(raw));
    PutPngChunk(out, "IEND", {});
    return out;
}

std::vector<uint8_t> EncodeMonoPbm(const MonoPicture& picture)
{
    const std::string header = "P4\n" + std::to_string(picture.width) + " " + std::to_string(picture.height) + "\n";
    std::vector<uint8_t> out(header.begin(), header.end());
    // In this format a set bit is black.
    for (int y = 0; y < picture.height; ++y)
        for (uint8_t byte : CleanRow(picture, y))
            out.push_back(static_cast<uint8_t>(~byte));
    if (const int spare = picture.width % 8; spare != 0) {
        const size_t rowLength = (static_cast<size_t>(picture.width) + 7) / 8;
        for (size_t at = header.size() + rowLength - 1; at < out.size(); at += rowLength)
            out[at] &= static_cast<uint8_t>(0xFF << (8 - spare));
    }
    return out;
}

std::vector<uint8_t> EncodeMonoImage(const MonoPicture& picture, MonoImageFormat format)
{
    switch (format) {
    case MonoImageFormat::Bmp: return EncodeMonoBmp(picture);
    case MonoImageFormat::Png: return EncodeMonoPng(picture);
    case MonoImageFormat::Pbm: return EncodeMonoPbm(picture);
    case MonoImageFormat::None: break;
    }
    return {};
}
