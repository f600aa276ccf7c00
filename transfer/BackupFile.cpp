#include "transfer/BackupFile.h"

#include "link/Packets.h"
#include "text/StringIds.h"
#include "text/SystemPath.h"
#include "transfer/VariableFile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace {

constexpr size_t ENTRY_OFFSET = VARFILE_HEADER_SIZE;
constexpr size_t SIZE_BLOCK_OFFSET = ENTRY_OFFSET + VARFILE_ENTRY_SIZE;
constexpr size_t FILE_OVERHEAD = BACKUP_DATA_OFFSET + VARFILE_CHECKSUM_SIZE;

} // namespace

std::vector<uint8_t> BuildBackupFile(const BackupImage& image)
{
    // No default folder and no comment: both stay zero. Sized at once: an
    // insert after the header draws a false bounds report from GCC 12.
    std::vector<uint8_t> file(image.data.size() + FILE_OVERHEAD, 0);
    std::memcpy(file.data(), VARFILE_SIGNATURE, VARFILE_SIGNATURE_SIZE);
    file[8] = 1; // format word
    file[VARFILE_COUNT_OFFSET] = 1;
    uint8_t* entry = file.data() + ENTRY_OFFSET;
    PutLittleEndian32(entry, BACKUP_DATA_OFFSET);
    std::memcpy(entry + 4, image.romVersion.data(), std::min(image.romVersion.size(), BACKUP_ROM_VERSION_SIZE));
    entry[12] = VAR_BACKUP;
    PutLittleEndian32(file.data() + SIZE_BLOCK_OFFSET, static_cast<uint32_t>(image.data.size() + FILE_OVERHEAD));
    file[SIZE_BLOCK_OFFSET + 4] = 0xA5;
    file[SIZE_BLOCK_OFFSET + 5] = 0x5A;
    std::copy(image.data.begin(), image.data.end(), file.begin() + BACKUP_DATA_OFFSET);
    const uint16_t sum = MakeChecksum(image.data.data(), image.data.size());
    file[file.size() - 2] = static_cast<uint8_t>(sum & 0xFF);
    file[file.size() - 1] = static_cast<uint8_t>(sum >> 8);
    return file;
}

BackupFileCheck ReadBackupFile(const std::vector<uint8_t>& bytes, BackupImage& image)
{
    image = {};
    if (bytes.size() < VARFILE_SIGNATURE_SIZE ||
        std::memcmp(bytes.data(), VARFILE_SIGNATURE, VARFILE_SIGNATURE_SIZE) != 0)
        return BackupFileCheck::NotVariableFile;
    if (bytes.size() < FILE_OVERHEAD)
        return BackupFileCheck::WrongLength;
    const uint8_t* entry = bytes.data() + ENTRY_OFFSET;
    const unsigned count = bytes[VARFILE_COUNT_OFFSET] | (bytes[VARFILE_COUNT_OFFSET + 1] << 8);
    if (count != 1 || entry[12] != VAR_BACKUP)
        return BackupFileCheck::NotBackup;
    if (GetLittleEndian32(bytes.data() + SIZE_BLOCK_OFFSET) != bytes.size())
        return BackupFileCheck::WrongLength;
    const size_t dataLength = bytes.size() - FILE_OVERHEAD;
    if (GetLittleEndian32(entry) != BACKUP_DATA_OFFSET || dataLength == 0 || dataLength > BACKUP_MAX_DATA)
        return BackupFileCheck::BadLayout;
    const uint8_t* data = bytes.data() + BACKUP_DATA_OFFSET;
    const uint8_t* sum = data + dataLength;
    if (MakeChecksum(data, dataLength) != static_cast<uint16_t>(sum[0] | (sum[1] << 8)))
        return BackupFileCheck::BadChecksum;
    // The calculator takes a backup by the ROM version its header names; a
    // restore under no name could not even be announced.
    if (DecodeNameField(entry + 4).empty())
        return BackupFileCheck::NoRomVersion;
    image.romVersion = DecodeNameField(entry + 4);
    image.data.assign(data, data + dataLength);
    return BackupFileCheck::Ok;
}

BackupFileCheck LoadBackupFile(const std::string& path, BackupImage& image)
{
    image = {};
    std::error_code ec;
    // Only a regular file: a pipe or a device could be read forever.
    if (!std::filesystem::is_regular_file(SystemPath(path), ec))
        return BackupFileCheck::Unreadable;
    const auto size = std::filesystem::file_size(SystemPath(path), ec);
    if (ec)
        return BackupFileCheck::Unreadable;
    if (size > BACKUP_MAX_DATA + FILE_OVERHEAD)
        return BackupFileCheck::BadLayout;
    std::ifstream in(SystemPath(path), std::ios::binary);
    if (!in.is_open())
        return BackupFileCheck::Unreadable;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ReadBackupFile(bytes, image);
}

int BackupCheckMessage(BackupFileCheck check)
{
    switch (check) {
    case BackupFileCheck::Ok: return 0;
    case BackupFileCheck::NotVariableFile: return IDS_NOT_A_BACKUP;
    case BackupFileCheck::NotBackup: return IDS_BACKUP_HOLDS_VARIABLES;
    case BackupFileCheck::Unreadable: return IDS_BACKUP_UNREADABLE;
    case BackupFileCheck::WrongLength: return IDS_BACKUP_WRONG_LENGTH;
    case BackupFileCheck::BadLayout: return IDS_BACKUP_BAD_LAYOUT;
    case BackupFileCheck::BadChecksum: return IDS_BACKUP_BAD_CHECKSUM;
    case BackupFileCheck::NoRomVersion: return IDS_BACKUP_NO_ROM_VERSION;
    }
    return IDS_BACKUP_BAD_LAYOUT;
}
