#include "clip/AviWriter.h"

#include "clip/Rle8.h"

#include <algorithm>
#include <fstream>

namespace {

class CRiffWriter {
public:
    void Tag(const char* tag) { m_out.insert(m_out.end(), tag, tag + 4); }
    void U32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_out.push_back(uint8_t(v >> (8 * i)));
    }
    void U16(uint16_t v)
    {
        m_out.push_back(uint8_t(v));
        m_out.push_back(uint8_t(v >> 8));
    }
    void Bytes(const std::vector<uint8_t>& bytes) { m_out.insert(m_out.end(), bytes.begin(), bytes.end()); }

    // Opens a chunk (or, with a list type, a list) and returns where its size goes.
    size_t Open(const char* tag, const char* listType = nullptr)
    {
        Tag(tag);
        const size_t at = m_out.size();
        U32(0);
        if (listType)
            Tag(listType);
        return at;
    }
    void Close(size_t at)
    {
        const uint32_t size = uint32_t(m_out.size() - at - 4);
        for (int i = 0; i < 4; ++i)
            m_out[at + i] = uint8_t(size >> (8 * i));
        if (size & 1)
            m_out.push_back(0);
    }
    size_t Size() const { return m_out.size(); }
    std::vector<uint8_t>& Out() { return m_out; }

private:
    std::vector<uint8_t> m_out;
};

std::vector<uint8_t> Uncompressed(const std::vector<uint8_t>& pixels, uint32_t width, uint32_t height)
{
    const uint32_t stride = (width + 3) & ~3u;
    std::vector<uint8_t> out(size_t(stride) * height, 0);
    for (uint32_t row = 0; row < height; ++row) {
        const uint8_t* line = pixels.data() + size_t(height - 1 - row) * width;
        std::copy(line, line + width, out.begin() + ptrdiff_t(size_t(row) * stride));
    }
    return out;
}

} // namespace

std::vector<uint8_t> BuildAviClip(const AviClipContent& clip)
{
    std::vector<std::vector<uint8_t>> coded;
    uint32_t largest = 0;
    for (const auto& frame : clip.frames) {
        if (frame.empty())
            coded.emplace_back();
        else
            coded.push_back(clip.bRle8 ? EncodeRle8(frame, clip.nWidth, clip.nHeight)
                                       : Uncompressed(frame, clip.nWidth, clip.nHeight));
        largest = std::max<uint32_t>(largest, uint32_t(coded.back().size()));
    }
    const uint32_t frames = uint32_t(clip.frames.size());

    CRiffWriter w;
    const size_t riff = w.Open("RIFF", "AVI ");
    const size_t hdrl = w.Open("LIST", "hdrl");
    const size_t avih = w.Open("avih");
    w.U32(clip.nFrameMicroseconds);
    w.U32(0);    // max bytes per second
    w.U32(0);    // padding granularity
    w.U32(0x10); // has an index
    w.U32(frames);
    w.U32(0);
    w.U32(1); // streams
    w.U32(largest);
    w.U32(clip.nWidth);
    w.U32(clip.nHeight);
    for (int i = 0; i < 4; ++i)
        w.U32(0);
    w.Close(avih);
    const size_t strl = w.Open("LIST", "strl");
    const size_t strh = w.Open("strh");
    w.Tag("vids");
    // The decoder: Microsoft RLE, which the system's animation control asks
    // for by this name; none for plain frames.
    if (clip.bRle8)
        w.Tag("mrle");
    else
        w.U32(0);
    w.U32(0);
    w.U16(0);
    w.U16(0);
    w.U32(0);
    w.U32(clip.nFrameMicroseconds); // scale / rate = seconds per frame
    w.U32(1000000);
    w.U32(0);
    w.U32(frames);
    w.U32(largest);
    w.U32(0xFFFFFFFFu);
    w.U32(0);
    w.U16(0);
    w.U16(0);
    w.U16(uint16_t(clip.nWidth));
    w.U16(uint16_t(clip.nHeight));
    w.Close(strh);
    const size_t strf = w.Open("strf");
    w.U32(40);
    w.U32(clip.nWidth);
    w.U32(clip.nHeight);
    w.U16(1);
    w.U16(8);
    w.U32(clip.bRle8 ? 1 : 0);
    w.U32(0);
    w.U32(0);
    w.U32(0);
    w.U32(uint32_t(clip.palette.size()));
    w.U32(0);
    for (uint32_t colour : clip.palette) {
        w.Out().push_back(uint8_t(colour));
        w.Out().push_back(uint8_t(colour >> 8));
        w.Out().push_back(uint8_t(colour >> 16));
        w.Out().push_back(0);
    }
    w.Close(strf);
    w.Close(strl);
    w.Close(hdrl);

    const size_t movi = w.Open("LIST", "movi");
    const size_t moviStart = movi + 4;
    std::vector<std::pair<uint32_t, uint32_t>> index;
    for (const auto& frame : coded) {
        index.emplace_back(uint32_t(w.Size() - moviStart), uint32_t(frame.size()));
        const size_t chunk = w.Open(clip.bRle8 ? "00dc" : "00db");
        w.Bytes(frame);
        w.Close(chunk);
    }
    w.Close(movi);
    const size_t idx1 = w.Open("idx1");
    for (const auto& [offset, size] : index) {
        w.Tag(clip.bRle8 ? "00dc" : "00db");
        w.U32(0x10); // key frame
        w.U32(offset);
        w.U32(size);
    }
    w.Close(idx1);
    w.Close(riff);
    return std::move(w.Out());
}

bool WriteAviClip(const std::string& path, const AviClipContent& clip)
{
    const std::vector<uint8_t> bytes = BuildAviClip(clip);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}
