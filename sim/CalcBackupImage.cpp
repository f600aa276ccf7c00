#include "sim/CalcBackupImage.h"

#include <cstring>

namespace {

constexpr char MARK[] = "VSIMMEM1";
constexpr size_t MARK_SIZE = sizeof(MARK) - 1;

void AppendName(std::vector<uint8_t>& out, const std::string& name)
{
    out.push_back(static_cast<uint8_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
}

void Append16(std::vector<uint8_t>& out, size_t value)
{
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

// Reads the image front to back; every read fails past its end.
class CImageReader {
public:
    explicit CImageReader(const std::vector<uint8_t>& image) : m_image(image) {}

    bool Byte(uint8_t& value)
    {
        if (m_pos >= m_image.size())
            return false;
        value = m_image[m_pos++];
        return true;
    }
    bool Word(size_t& value)
    {
        uint8_t low = 0;
        uint8_t high = 0;
        if (!Byte(low) || !Byte(high))
            return false;
        value = low | (static_cast<size_t>(high) << 8);
        return true;
    }
    bool Bytes(size_t count, std::vector<uint8_t>& out)
    {
        if (count > m_image.size() - m_pos)
            return false;
        out.assign(m_image.begin() + static_cast<std::ptrdiff_t>(m_pos),
                   m_image.begin() + static_cast<std::ptrdiff_t>(m_pos + count));
        m_pos += count;
        return true;
    }
    bool Name(std::string& name)
    {
        uint8_t length = 0;
        std::vector<uint8_t> bytes;
        if (!Byte(length) || !Bytes(length, bytes))
            return false;
        name.assign(bytes.begin(), bytes.end());
        return true;
    }
    bool AtEnd() const { return m_pos == m_image.size(); }

private:
    const std::vector<uint8_t>& m_image;
    size_t m_pos = 0;
};

} // namespace

std::vector<uint8_t> MakeBackupImage(const CCalcMemory& memory)
{
    std::vector<uint8_t> image(MARK, MARK + MARK_SIZE);
    Append16(image, memory.GetFolders().size());
    for (const SimFolder& folder : memory.GetFolders()) {
        AppendName(image, folder.name);
        Append16(image, folder.variables.size());
        for (const SimVariable& variable : folder.variables) {
            AppendName(image, variable.name);
            image.push_back(variable.type);
            image.push_back(variable.attribute);
            Append16(image, variable.contents.size());
            image.insert(image.end(), variable.contents.begin(), variable.contents.end());
        }
    }
    return image;
}

bool ReadBackupImage(const std::vector<uint8_t>& image, CCalcMemory& memory)
{
    if (image.size() < MARK_SIZE || std::memcmp(image.data(), MARK, MARK_SIZE) != 0)
        return false;
    CImageReader reader(image);
    std::vector<uint8_t> mark;
    reader.Bytes(MARK_SIZE, mark);

    CCalcMemory restored;
    size_t folders = 0;
    if (!reader.Word(folders))
        return false;
    for (size_t f = 0; f < folders; ++f) {
        std::string folder;
        size_t variables = 0;
        if (!reader.Name(folder) || !CCalcMemory::IsValidName(folder) || !reader.Word(variables))
            return false;
        for (size_t v = 0; v < variables; ++v) {
            std::string name;
            uint8_t type = 0;
            uint8_t attribute = 0;
            size_t length = 0;
            std::vector<uint8_t> contents;
            if (!reader.Name(name) || !reader.Byte(type) || !reader.Byte(attribute) || !reader.Word(length) ||
                !reader.Bytes(length, contents) ||
                !restored.AddVariable(folder, name, type, attribute, std::move(contents)))
                return false;
        }
    }
    if (!reader.AtEnd())
        return false;
    memory = std::move(restored);
    return true;
}
