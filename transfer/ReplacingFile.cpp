#include "transfer/ReplacingFile.h"

#include "text/DisplayText.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"
#include "text/UserMessages.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
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

std::string Describe(const std::string& path, const std::string& reason)
{
    return path + ": " + reason;
}

// Creates `path` for writing only if it is not there yet. fopen's "x" is not
// part of the Windows C run-time (msvcrt) that the programs link, so there the
// exclusive creation is asked of _open.
std::FILE* CreateExclusive(const std::string& path)
{
#ifdef _WIN32
    const int fd = _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
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
std::string TemporaryName(const fs::path& target)
{
    static std::atomic<unsigned> counter{0};
    const auto ticks = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    std::string name = ".";
    name += target.filename().string();
    name += '.';
    name += std::to_string(ticks % 1000000);
    name += '-';
    name += std::to_string(counter++);
    name += ".part";
    return (target.parent_path() / name).string();
}

} // namespace

CReplacingFile::~CReplacingFile()
{
    Discard();
}

bool CReplacingFile::Create(const std::string& target, std::string& error)
{
    Discard();
    const fs::path targetPath(target);
    std::error_code ec;
    const fs::file_status status = fs::status(targetPath, ec);
    if (fs::is_directory(status)) {
        error = Describe(target, ProgramText(IDS_FOLDER_IN_THE_WAY));
        return false;
    }
    if (fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
        error = Describe(target, ProgramText(IDS_FILE_READ_ONLY));
        return false;
    }

    for (int attempt = 0; attempt < NAME_ATTEMPTS; ++attempt) {
        const std::string candidate = TemporaryName(targetPath);
        errno = 0;
        // Never opening a file that is already there.
        m_pFile = CreateExclusive(candidate);
        if (m_pFile) {
            m_strTarget = target;
            m_strTemporary = candidate;
            return true;
        }
        if (errno != EEXIST) {
            error = Describe(target, std::strerror(errno));
            return false;
        }
    }
    error = Describe(target, ProgramText(IDS_NO_TEMPORARY_FILE));
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
        error = Describe(m_strTarget, ProgramText(IDS_FILE_NOT_CREATED));
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
        error = Describe(m_strTarget, std::strerror(reason != 0 ? reason : EIO));
        Discard();
        return false;
    }

    std::error_code ec;
    const fs::file_status old = fs::status(m_strTarget, ec);
    if (fs::exists(old))
        fs::permissions(m_strTemporary, old.permissions(), ec);
    fs::rename(m_strTemporary, m_strTarget, ec);
    if (ec) {
        error = Describe(m_strTarget, ec.message());
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
        fs::remove(m_strTemporary, ec);
        m_strTemporary.clear();
    }
}

bool AskBeforeReplacing(IUserMessages& messages, const std::string& path)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return true;
    const auto size = fs::file_size(path, ec);
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
    messages.ShowText(ProgramText(IDS_FILE_NOT_WRITTEN) + error);
    return false;
}

std::string JoinFolderPath(const std::string& folder, const std::string& fileName)
{
    if (folder.empty())
        return fileName;
    return (fs::path(folder) / fileName).string();
}

std::string ShownFileName(const std::string& path)
{
    return FileNameToDisplay(fs::path(path).filename().string());
}
