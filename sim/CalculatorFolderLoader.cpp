#include "sim/CalculatorFolderLoader.h"

#include "sim/CalcMemory.h"
#include "text/FileErrorText.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"
#include "text/SystemPath.h"
#include "transfer/BackupFile.h"
#include "transfer/VarFileReader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The folder variables go to when the header leaves its folder field empty.
constexpr char DEFAULT_FOLDER[] = "main";

size_t LoadFile(CCalcMemory& memory, const fs::path& path, std::vector<std::string>& problems)
{
    const std::string shown = PathName(path.filename());
    // A whole memory is not variables to hold; it is no damaged file either.
    BackupImage backup;
    if (LoadBackupFile(PathName(path), backup) == BackupFileCheck::Ok) {
        problems.push_back(ProgramText(IDS_SIM_BACKUP_NOT_LOADED, {shown}));
        return 0;
    }
    std::ifstream in(path, std::ios::binary);
    CVarFileReader file(in);
    switch (file.Check()) {
    case VarFileCheck::NotVariableFile:
        return 0;
    case VarFileCheck::Damaged:
        problems.push_back(ProgramText(IDS_SIM_DAMAGED_FILE, {shown}));
        return 0;
    case VarFileCheck::Ok:
        break;
    }

    size_t loaded = 0;
    std::string folder = file.GetDefaultFolder().empty() ? DEFAULT_FOLDER : file.GetDefaultFolder();
    const auto& entries = file.GetEntries();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (file.IsFolderEntry(i)) {
            folder = entries[i].name;
            continue;
        }
        uint8_t prefix[SECTION_PREFIX_SIZE];
        const uint64_t offset = file.GetSectionOffset(i);
        std::vector<uint8_t> contents;
        bool read = file.ReadAt(offset, prefix, sizeof prefix);
        if (read) {
            contents.resize(SectionLengthFromPrefix(prefix) - SECTION_PREFIX_SIZE);
            read = file.ReadAt(offset + SECTION_PREFIX_SIZE, contents.data(), contents.size());
        }
        if (!read) {
            problems.push_back(ProgramText(IDS_SIM_UNREADABLE, {shown, entries[i].name}));
            continue;
        }
        if (!memory.AddVariable(folder, entries[i].name, entries[i].type, entries[i].attributes, std::move(contents))) {
            problems.push_back(ProgramText(IDS_SIM_CANNOT_HOLD, {shown, folder + "\\" + entries[i].name}));
            continue;
        }
        ++loaded;
    }
    return loaded;
}

} // namespace

size_t LoadCalculatorFolder(CCalcMemory& memory, const std::string& folder, std::vector<std::string>& problems)
{
    std::error_code ec;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(SystemPath(folder), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError))
            files.push_back(it->path());
    }
    if (ec) {
        problems.push_back(folder + ": " + FileErrorText(ec));
        return 0;
    }
    std::sort(files.begin(), files.end());

    size_t loaded = 0;
    for (const fs::path& path : files)
        loaded += LoadFile(memory, path, problems);
    return loaded;
}
