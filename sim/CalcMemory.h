#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One variable as the calculator holds it. `contents` are the bytes after the
// variable's own two-byte big-endian length word.
struct SimVariable {
    std::string name;
    uint8_t type = 0;
    uint8_t attribute = 0;
    std::vector<uint8_t> contents;
};

struct SimFolder {
    std::string name;
    std::vector<SimVariable> variables;
};

// The calculator's folders and variables, in the order they were created.
// Folder "main" always exists. Names are byte strings of 1 to 8 bytes without
// a zero byte or a backslash, compared byte for byte.
class CCalcMemory {
public:
    static constexpr size_t MAX_VAR_NAME_LENGTH = 8;
    // The data packet carries the four leading bytes, the length word and the
    // contents in one 16-bit length.
    static constexpr size_t MAX_CONTENTS = 0xFFFF - 6;
    static constexpr uint8_t FOLDER_TYPE = 0x1F;
    static constexpr uint8_t DIRECTORY_TYPE = 0x19;

    CCalcMemory();

    // Back to an empty "main" alone.
    void Clear();

    // Creates the folder when missing and replaces a variable of the same name
    // in place. Refuses (false, nothing changed) a bad name, contents too long
    // for the link, or a type that the listing reserves for folders and
    // directory requests.
    bool AddVariable(const std::string& folder, const std::string& name, uint8_t type,
                     uint8_t attribute, std::vector<uint8_t> contents);
    // False when there is no such variable. Its folder stays, empty or not.
    bool DeleteVariable(const std::string& folder, const std::string& name);
    // An empty folder; false for a bad name or one that exists already.
    bool AddFolder(const std::string& name);
    bool HasFolder(const std::string& name) const;
    // The pointer stays valid until the memory changes.
    const SimVariable* FindVariable(const std::string& folder, const std::string& name) const;

    const std::vector<SimFolder>& GetFolders() const { return m_folders; }
    // Folders plus variables: the entries of a directory listing.
    size_t CountEntries() const;

    static bool IsValidName(const std::string& name);
    static bool IsStorableType(uint8_t type) { return type != FOLDER_TYPE && type != DIRECTORY_TYPE; }

private:
    SimFolder& FolderNamed(const std::string& name);

    std::vector<SimFolder> m_folders;
};
