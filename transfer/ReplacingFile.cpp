#include "transfer/ReplacingFile.h"

#include "text/DisplayText.h"
#include "text/FileErrorText.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"
#include "text/SystemPath.h"
#include "text/UserMessages.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr int NAME_ATTEMPTS = 100;

// Creates `path` for writing only if it is not there yet. fopen's "x" is not
// part of the Windows C run-time (msvcrt) that the programs link, so there the
// exclusive creation is asked of _wopen.
std::FILE* CreateExclusive(const fs::path& path)
{
#ifdef _WIN32
    const int fd = _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0)
        return nullptr;
    std::FILE* file = _fdopen(fd, "wb");
    if (!file)
        _close(fd);
    return file;
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

// A name for the temporary file that no earlier attempt in this process
// used; creation is exclusive, so a name that exists is simply skipped.
std::string TemporaryName(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    const auto ticks = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    std::string name = ".";
    name += FileNameOf(target);
    name += '.';
    name += std::to_string(ticks % 1000000);
    name += '-';
    name += std::to_string(counter++);
    name += ".part";
    return PathName(SystemPath(target).parent_path() / SystemPath(name));
}

} // namespace

CReplacingFile::~CReplacingFile()
{
    Discard();
}

bool CReplacingFile::Create(const std::string& target, std::string& error)
{
    Discard();
    std::error_code ec;
    const fs::file_status status = fs::status(SystemPath(target), ec);
    if (fs::is_directory(status)) {
        error = ProgramText(IDS_FOLDER_IN_THE_WAY);
        return false;
    }
    if (fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
        error = ProgramText(IDS_FILE_READ_ONLY);
        return false;
    }

    for (int attempt = 0; attempt < NAME_ATTEMPTS; ++attempt) {
        const std::string candidate = TemporaryName(target);
        errno = 0;
        // Never opening a file that is already there.
        m_pFile = CreateExclusive(SystemPath(candidate));
        if (m_pFile) {
            m_strTarget = target;
            m_strTemporary = candidate;
            return true;
        }
        if (errno != EEXIST) {
            error = FileErrorText(errno);
            return false;
        }
    }
    error = ProgramText(IDS_NO_TEMPORARY_FILE);
    return false;
}

bool CReplacingFile::WriteAll(const std::vector<uint8_t>& bytes)
{
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), m_pFile) != bytes.size())
        return false;
    if (std::fflush(m_pFile) != 0)
        return false;
#ifndef _WIN32
    // On disk before it takes the target's place, so that a crash right
    // after the move cannot leave an empty file where the old one was.
    if (fsync(fileno(m_pFile)) != 0)
        return false;
#endif
    return true;
}

bool CReplacingFile::Commit(const std::vector<uint8_t>& bytes, std::string& error)
{
    if (!m_pFile) {
        error = ProgramText(IDS_FILE_NOT_CREATED);
        return false;
    }
    errno = 0;
    bool written = WriteAll(bytes);
    int reason = errno;
    if (std::fclose(m_pFile) != 0 && written) {
        written = false;
        reason = errno;
    }
    m_pFile = nullptr;
    if (!written) {
        error = FileErrorText(reason != 0 ? reason : EIO);
        Discard();
        return false;
    }

    std::error_code ec;
    const fs::file_status old = fs::status(SystemPath(m_strTarget), ec);
    if (fs::exists(old))
        fs::permissions(SystemPath(m_strTemporary), old.permissions(), ec);
    fs::rename(SystemPath(m_strTemporary), SystemPath(m_strTarget), ec);
    if (ec) {
        error = FileErrorText(ec);
        Discard();
        return false;
    }
    m_strTemporary.clear();
    return true;
}

void CReplacingFile::Discard()
{
    if (m_pFile) {
        std::fclose(m_pFile);
        m_pFile = nullptr;
    }
    if (!m_strTemporary.empty()) {
        std::error_code ec;
        fs::remove(SystemPath(m_strTemporary), ec);
        m_strTemporary.clear();
    }
}

bool AskBeforeReplacing(IUserMessages& messages, const std::string& path)
{
    std::error_code ec;
    if (!fs::is_regular_file(SystemPath(path), ec))
        return true;
    const auto size = fs::file_size(SystemPath(path), ec);
    if (ec || size == 0)
        return true;
    return messages.AskYesNo(IDS_OVERWRITE_FILE, path);
}

bool CreateAfterAsking(CReplacingFile& file, IUserMessages& messages, const std::string& path)
{
    if (!AskBeforeReplacing(messages, path))
        return false;
    std::string error;
    if (file.Create(path, error))
        return true;
    messages.ShowText(FileNotWrittenText(path, error));
    return false;
}

std::string FileNotWrittenText(const std::string& path, const std::string& reason)
{
    return ProgramText(IDS_FILE_NOT_WRITTEN) + FileNameToDisplay(path) + ": " + reason;
}

std::string JoinFolderPath(const std::string& folder, const std::string& fileName)
{
    return JoinPathName(folder, fileName);
}

std::string ShownFileName(const std::string& path)
{
    return FileNameToDisplay(FileNameOf(path));
}
