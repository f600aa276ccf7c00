#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A calculator's whole memory as one PC file (".92b"): the layout of a
// single-variable file whose one entry has the backup type, is named after
// the calculator's ROM version and points at the data at 0x52; the data are
// the backup's blocks one after the other, followed by their 16-bit sum.
// Other TI-92 link programs write and read the same layout.

inline constexpr uint8_t VAR_BACKUP = 0x1D;
inline constexpr size_t BACKUP_DATA_OFFSET = 0x52;
inline constexpr size_t BACKUP_ROM_VERSION_SIZE = 8;
// Far beyond any TI-92's memory; a larger file is not a backup of one, and
// is refused before it is read into memory.
inline constexpr size_t BACKUP_MAX_DATA = 4 * 1024 * 1024;

struct BackupImage {
    std::string romVersion; // at most 8 characters, e.g. "1.11"
    std::vector<uint8_t> data;
};

enum class BackupFileCheck {
    Ok,
    NotVariableFile, // the signature is missing
    NotBackup,       // a variable file, but of variables
    Unreadable,      // not a regular file, or it cannot be read
    WrongLength,     // cut short or added to: the size field disagrees
    BadLayout,       // the entry does not point at the data, no data, too much
    BadChecksum,     // the data do not add up to the sum stored after them
    NoRomVersion,    // the entry names no ROM version, which a restore must announce
};

// The whole file for `image`.
std::vector<uint8_t> BuildBackupFile(const BackupImage& image);

// Checks the file whole (signature, one entry of the backup type, data at
// 0x52, a size field equal to the file's length, the sum) and takes the
// image out of it; `image` is left empty unless the file is whole.
BackupFileCheck ReadBackupFile(const std::vector<uint8_t>& bytes, BackupImage& image);

// The same for a file on disk.
BackupFileCheck LoadBackupFile(const std::string& path, BackupImage& image);

// The language string that tells the user why a backup file was refused
// ("%s" is the file's name); 0 for Ok.
int BackupCheckMessage(BackupFileCheck check);
