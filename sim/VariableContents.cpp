#include "sim/VariableContents.h"

namespace {

constexpr uint8_t STRING_TAG = 0x2D;
constexpr uint8_t TEXT_TAG = 0xE0;
constexpr uint8_t POSITIVE_INTEGER_TAG = 0x1F;
constexpr uint8_t END_TAG = 0xE5;
constexpr uint8_t LIST_TAG = 0xD9;
constexpr uint8_t PICTURE_TAG = 0xDF;
constexpr uint8_t PLAIN_LINE_MARK = 0x20;
constexpr uint8_t LINE_BREAK = 0x0D;

void AppendBigEndian16(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value & 0xFF));
}

void AppendInteger(std::vector<uint8_t>& out, uint32_t value)
{
    std::vector<uint8_t> bytes;
    for (uint32_t rest = value; rest != 0; rest >>= 8)
        bytes.insert(bytes.begin(), static_cast<uint8_t>(rest & 0xFF));
    out.insert(out.end(), bytes.begin(), bytes.end());
    out.push_back(static_cast<uint8_t>(bytes.size()));
    out.push_back(POSITIVE_INTEGER_TAG);
}

} // namespace

std::vector<uint8_t> MakeStringContents(const std::string& text)
{
    std::vector<uint8_t> out;
    out.reserve(text.size() + 3);
    out.push_back(0x00);
    for (char character : text)
        out.push_back(static_cast<uint8_t>(character));
    out.push_back(0x00);
    out.push_back(STRING_TAG);
    return out;
}

std::vector<uint8_t> MakeTextContents(const std::vector<std::string>& lines)
{
    // The editor's cursor rests at the start of the first line's text.
    std::vector<uint8_t> out;
    AppendBigEndian16(out, 1);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            out.push_back(LINE_BREAK);
        out.push_back(PLAIN_LINE_MARK);
        out.insert(out.end(), lines[i].begin(), lines[i].end());
    }
    out.push_back(0x00);
    out.push_back(TEXT_TAG);
    return out;
}

std::vector<uint8_t> MakeIntegerContents(uint32_t value)
{
    std::vector<uint8_t> out;
    AppendInteger(out, value);
    return out;
}

std::vector<uint8_t> MakeIntegerListContents(const std::vector<uint32_t>& values)
{
    std::vector<uint8_t> out{END_TAG};
    for (auto it = values.rbegin(); it != values.rend(); ++it)
        AppendInteger(out, *it);
    out.push_back(LIST_TAG);
    return out;
}

std::vector<uint8_t> MakePictureContents(const PicturePixels& picture)
{
    const size_t rowBytes = (picture.width + 7u) / 8u;
    if (picture.rows.size() != rowBytes * picture.height)
        return {};
    std::vector<uint8_t> out;
    AppendBigEndian16(out, picture.height);
    AppendBigEndian16(out, picture.width);
    out.insert(out.end(), picture.rows.begin(), picture.rows.end());
    out.push_back(PICTURE_TAG);
    return out;
}
