#include "sim/CalcReplies.h"

namespace {

constexpr size_t ENTRY_SIZE = 18;
constexpr size_t LEADING_BYTES = 4;
constexpr size_t HEADER_FIXED_BYTES = 6;

void AppendLittleEndian32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t ListedSize(const SimVariable& variable)
{
    return static_cast<uint32_t>(variable.contents.size() + 2);
}

} // namespace

std::vector<uint8_t> MakeDirectoryEntry(const std::string& name, uint8_t type, uint8_t attribute,
                                        uint32_t size)
{
    std::vector<uint8_t> entry(LEADING_BYTES, 0);
    for (size_t i = 0; i < CCalcMemory::MAX_VAR_NAME_LENGTH; ++i)
        entry.push_back(i < name.size() ? static_cast<uint8_t>(name[i]) : 0);
    entry.push_back(type);
    entry.push_back(attribute);
    AppendLittleEndian32(entry, size);
    return entry;
}

std::vector<std::vector<uint8_t>> MakeDirectoryListing(const CCalcMemory& memory)
{
    std::vector<std::vector<uint8_t>> listing;
    listing.reserve(memory.CountEntries());
    for (const SimFolder& folder : memory.GetFolders()) {
        uint32_t folderSize = 0;
        for (const SimVariable& variable : folder.variables)
            folderSize += ListedSize(variable);
        listing.push_back(MakeDirectoryEntry(folder.name, CCalcMemory::FOLDER_TYPE, 0, folderSize));
        for (const SimVariable& variable : folder.variables)
            listing.push_back(MakeDirectoryEntry(variable.name, variable.type, variable.attribute,
                                                 ListedSize(variable)));
    }
    return listing;
}

std::vector<uint8_t> MakeListingHeader(size_t entries)
{
    std::vector<uint8_t> header;
    AppendLittleEndian32(header, static_cast<uint32_t>(entries * ENTRY_SIZE));
    header.push_back(CCalcMemory::DIRECTORY_TYPE);
    header.push_back(0);
    return header;
}

std::vector<uint8_t> MakeVariableHeader(const SimVariable& variable)
{
    std::vector<uint8_t> header;
    AppendLittleEndian32(header, ListedSize(variable));
    header.push_back(variable.type);
    header.push_back(static_cast<uint8_t>(variable.name.size()));
    header.insert(header.end(), variable.name.begin(), variable.name.end());
    return header;
}

std::vector<uint8_t> MakeVariableData(const SimVariable& variable)
{
    std::vector<uint8_t> data(LEADING_BYTES, 0);
    const size_t length = variable.contents.size();
    data.push_back(static_cast<uint8_t>(length >> 8));
    data.push_back(static_cast<uint8_t>(length & 0xFF));
    data.insert(data.end(), variable.contents.begin(), variable.contents.end());
    return data;
}

std::optional<PcVariableHeader> ReadPcVariableHeader(const std::vector<uint8_t>& data)
{
    if (data.size() < HEADER_FIXED_BYTES || data[5] != data.size() - HEADER_FIXED_BYTES)
        return std::nullopt;
    PcVariableHeader header;
    header.size = static_cast<uint32_t>(data[0] | (data[1] << 8) | (data[2] << 16)) |
                  (static_cast<uint32_t>(data[3]) << 24);
    header.type = data[4];
    const std::string path(data.begin() + HEADER_FIXED_BYTES, data.end());
    const size_t separator = path.find('\\');
    header.folder = separator == std::string::npos ? "main" : path.substr(0, separator);
    header.name = separator == std::string::npos ? path : path.substr(separator + 1);
    if (!CCalcMemory::IsValidName(header.folder) || !CCalcMemory::IsValidName(header.name))
        return std::nullopt;
    return header;
}

std::optional<std::vector<uint8_t>> ReadPcVariableData(const std::vector<uint8_t>& data)
{
    if (data.size() < HEADER_FIXED_BYTES)
        return std::nullopt;
    const size_t length = static_cast<size_t>((data[4] << 8) | data[5]);
    if (length + HEADER_FIXED_BYTES != data.size())
        return std::nullopt;
    return std::vector<uint8_t>(data.begin() + HEADER_FIXED_BYTES, data.end());
}
