#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class IUserMessages;

// Writes a file so that whatever stood at its place before is replaced only
// by a complete new file: the bytes go into a temporary file in the same
// folder, which is moved over the target once all of them are on disk. Until
// then, and after any failure, the target keeps every byte it had.
class CReplacingFile {
public:
    CReplacingFile() = default;
    // Removes the temporary file unless it was committed.
    ~CReplacingFile();

    CReplacingFile(const CReplacingFile&) = delete;
    CReplacingFile& operator=(const CReplacingFile&) = delete;

    // Creates the temporary file beside `target`. On failure `error` says
    // why in words for the user (without the file's name, which the caller
    // shows), and nothing was created.
    bool Create(const std::string& target, std::string& error);

    // Writes `bytes` as the whole content and moves the file over the
    // target. On failure `error` says why, as Create does, and the
    // temporary file is gone.
    bool Commit(const std::vector<uint8_t>& bytes, std::string& error);

    // Removes the temporary file; the target stays as it was.
    void Discard();

    const std::string& GetTemporaryPath() const { return m_strTemporary; }

private:
    bool WriteAll(const std::vector<uint8_t>& bytes);

    std::string m_strTarget;
    std::string m_strTemporary;
    std::FILE* m_pFile = nullptr;
};

// Whether `path` may be replaced: yes when there is no such file or it is
// empty, otherwise the user's answer to the overwrite question (105).
bool AskBeforeReplacing(IUserMessages& messages, const std::string& path);

// Asks before replacing a file that is not empty, then creates the
// temporary file; says why when it cannot. False when declined or failed.
bool CreateAfterAsking(CReplacingFile& file, IUserMessages& messages, const std::string& path);
// The message of a file that could not be written: the file and why.
std::string FileNotWrittenText(const std::string& path, const std::string& reason);

// The folder and a file name in it; the name alone for no folder.
std::string JoinFolderPath(const std::string& folder, const std::string& fileName);
// The name of the file at `path`, made readable for the user.
std::string ShownFileName(const std::string& path);
