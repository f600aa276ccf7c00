#include "clip/AviClip.h"

#include "clip/Rle8.h"
#include "text/SystemPath.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>

namespace {

constexpr uint32_t COMPRESSION_RGB = 0;
constexpr uint32_t COMPRESSION_RLE8 = 1;
constexpr uint32_t DEFAULT_FRAME_MICROSECONDS = 100000;

uint32_t Read32(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }
uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
bool IsTag(const uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

// A chunk: four-character tag, then its body.
struct Chunk {
    const uint8_t* tag;
    const uint8_t* body;
    size_t size;
};

// Walks the chunks of a RIFF list body; stops (with `bDamaged`) at a chunk
// that claims more bytes than remain.
class CChunkReader {
public:
    CChunkReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    std::optional<Chunk> Next()
    {
        if (m_size - m_pos < 8)
            return std::nullopt;
        const uint8_t* header = m_data + m_pos;
        const size_t size = Read32(header + 4);
        if (size > m_size - m_pos - 8) {
            bDamaged = true;
            return std::nullopt;
        }
        Chunk chunk{header, header + 8, size};
        m_pos += 8 + size;
        if (m_pos < m_size && (size & 1))
            ++m_pos;
        return chunk;
    }

    bool bDamaged = false;

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

bool IsList(const Chunk& chunk, const char* type)
{
    return (IsTag(chunk.tag, "LIST") || IsTag(chunk.tag, "RIFF")) && chunk.size >= 4 && IsTag(chunk.body, type);
}

struct VideoFormat {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    std::vector<uint32_t> palette;
    bool bFound = false;
    int nStream = -1;
};

bool ReadFormat(const Chunk& strf, VideoFormat& format)
{
    if (strf.size < 40)
        return false;
    const uint8_t* p = strf.body;
    const uint32_t headerSize = Read32(p);
    if (headerSize < 40 || headerSize > strf.size)
        return false;
    format.width = static_cast<int32_t>(Read32(p + 4));
    format.height = static_cast<int32_t>(Read32(p + 8));
    format.bitCount = Read16(p + 14);
    format.compression = Read32(p + 16);
    uint32_t colours = Read32(p + 32);
    if (format.bitCount == 8) {
        if (colours == 0 || colours > 256)
            colours = 256;
        // Palettes that stop short are padded with black, as the system does.
        const size_t available = (strf.size - headerSize) / 4;
        format.palette.assign(256, 0xFF000000u);
        for (size_t i = 0; i < colours && i < available; ++i) {
            const uint8_t* q = p + headerSize + i * 4;
            format.palette[i] = 0xFF000000u | (uint32_t(q[2]) << 16) | (uint32_t(q[1]) << 8) | q[0];
        }
    }
    return true;
}

// The first video stream's format, from the header list.
bool ReadHeaders(const Chunk& hdrl, VideoFormat& format, uint32_t& microseconds)
{
    CChunkReader reader(hdrl.body + 4, hdrl.size - 4);
    int stream = 0;
    while (auto chunk = reader.Next()) {
        if (IsTag(chunk->tag, "avih") && chunk->size >= 4) {
            microseconds = Read32(chunk->body);
        } else if (IsList(*chunk, "strl")) {
            CChunkReader streamReader(chunk->body + 4, chunk->size - 4);
            bool bVideo = false;
            while (auto part = streamReader.Next()) {
                if (IsTag(part->tag, "strh") && part->size >= 4)
                    bVideo = IsTag(part->body, "vids");
                else if (IsTag(part->tag, "strf") && bVideo && !format.bFound) {
                    if (!ReadFormat(*part, format))
                        return false;
                    format.bFound = true;
                    format.nStream = stream;
                }
            }
            if (streamReader.bDamaged)
                return false;
            ++stream;
        }
    }
    return !reader.bDamaged && format.bFound;
}

bool IsFrameChunk(const Chunk& chunk, int stream)
{
    const char digits[2] = {char('0' + stream / 10), char('0' + stream % 10)};
    return chunk.tag[0] == digits[0] && chunk.tag[1] == digits[1] &&
           (chunk.tag[2] == 'd' && (chunk.tag[3] == 'b' || chunk.tag[3] == 'c'));
}

class CFrameDecoder {
public:
    CFrameDecoder(const VideoFormat& format, uint32_t width, uint32_t height)
        : m_format(format), m_width(width), m_height(height), m_indices(size_t(width) * height, 0),
          m_pixels(size_t(width) * height, 0xFF000000u)
    {
    }

    // Decodes one frame chunk onto the previous picture; an empty chunk
    // repeats it.
    bool Decode(const uint8_t* data, size_t size)
    {
        if (size == 0)
            return true;
        if (m_format.compression == COMPRESSION_RLE8)
            return DecodeRle8(data, size, m_width, m_height, m_indices) && Paint();
        return DecodeUncompressed(data, size);
    }

    const CAviClip::Frame& Picture() const { return m_pixels; }

private:
    bool Paint()
    {
        for (size_t i = 0; i < m_indices.size(); ++i)
            m_pixels[i] = m_format.palette[m_indices[i]];
        return true;
    }

    bool DecodeUncompressed(const uint8_t* data, size_t size)
    {
        const size_t bytesPerPixel = m_format.bitCount / 8;
        const size_t stride = ((size_t(m_width) * m_format.bitCount + 31) / 32) * 4;
        if (size < stride * m_height)
            return false;
        const bool bBottomUp = m_format.height > 0;
        for (uint32_t y = 0; y < m_height; ++y) {
            const uint8_t* row = data + stride * (bBottomUp ? m_height - 1 - y : y);
            uint32_t* target = m_pixels.data() + size_t(y) * m_width;
            for (uint32_t x = 0; x < m_width; ++x) {
                const uint8_t* p = row + x * bytesPerPixel;
                if (bytesPerPixel == 1)
                    target[x] = m_format.palette[p[0]];
                else
                    target[x] = 0xFF000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
            }
        }
        return true;
    }

    const VideoFormat& m_format;
    uint32_t m_width;
    uint32_t m_height;
    std::vector<uint8_t> m_indices;
    CAviClip::Frame m_pixels;
};

bool IsPlayable(const VideoFormat& format)
{
    if (format.width <= 0 || format.height == 0)
        return false;
    if (format.compression == COMPRESSION_RLE8)
        return format.bitCount == 8 && format.height > 0;
    return format.compression == COMPRESSION_RGB && (format.bitCount == 8 || format.bitCount == 24 || format.bitCount == 32);
}

} // namespace

bool CAviClip::LoadFile(const std::string& path)
{
    Clear();
    std::ifstream file(SystemPath(path), std::ios::binary);
    if (!file)
        return false;
    file.seekg(0, std::ios::end);
    const std::streamoff length = file.tellg();
    if (length <= 0 || uint64_t(length) > MAX_FILE_BYTES)
        return false;
    file.seekg(0);
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    if (!file.read(reinterpret_cast<char*>(bytes.data()), length))
        return false;
    return Load(bytes.data(), bytes.size());
}

bool CAviClip::Load(const uint8_t* data, size_t size)
{
    Clear();
    CChunkReader top(data, size);
    const auto riff = top.Next();
    if (!riff || !IsTag(riff->tag, "RIFF") || !IsList(*riff, "AVI "))
        return false;

    VideoFormat format;
    uint32_t microseconds = 0;
    std::vector<Chunk> frameChunks;
    bool bHeaders = false;
    CChunkReader reader(riff->body + 4, riff->size - 4);
    while (auto chunk = reader.Next()) {
        if (IsList(*chunk, "hdrl")) {
            if (!ReadHeaders(*chunk, format, microseconds))
                return false;
            bHeaders = true;
        } else if (IsList(*chunk, "movi") && bHeaders) {
            // Frames sit in the list itself or, interleaved, in "rec " lists.
            CChunkReader movi(chunk->body + 4, chunk->size - 4);
            while (auto item = movi.Next()) {
                if (IsList(*item, "rec ")) {
                    CChunkReader record(item->body + 4, item->size - 4);
                    while (auto inner = record.Next()) {
                        if (IsFrameChunk(*inner, format.nStream))
                            frameChunks.push_back(*inner);
                    }
                    if (record.bDamaged)
                        return false;
                } else if (IsFrameChunk(*item, format.nStream)) {
                    frameChunks.push_back(*item);
                }
            }
            if (movi.bDamaged)
                return false;
        }
    }
    if (reader.bDamaged || !bHeaders || !IsPlayable(format) || frameChunks.empty() || format.nStream > 99)
        return false;

    const uint32_t width = uint32_t(format.width);
    const uint32_t height = uint32_t(format.height < 0 ? -int64_t(format.height) : format.height);
    if (width > MAX_SIDE || height > MAX_SIDE || uint64_t(width) * height * frameChunks.size() > MAX_TOTAL_PIXELS)
        return false;

    CFrameDecoder decoder(format, width, height);
    std::vector<Frame> frames;
    frames.reserve(frameChunks.size());
    for (const Chunk& chunk : frameChunks) {
        if (!decoder.Decode(chunk.body, chunk.size))
            return false;
        frames.push_back(decoder.Picture());
    }
    m_nWidth = width;
    m_nHeight = height;
    m_nFrameMicroseconds = microseconds != 0 ? microseconds : DEFAULT_FRAME_MICROSECONDS;
    m_frames = std::move(frames);
    return true;
}

void CAviClip::Clear()
{
    m_nWidth = m_nHeight = m_nFrameMicroseconds = 0;
    m_frames.clear();
}
