#pragma once

#include "link/DirEntries.h"
#include "link/FolderRows.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CLink;

// The calculator's directory: the listing exchange and the folder and
// variable entries it delivered, in arrival order. Owned by the directory
// page; the command-line program uses it on its own.
class CDirectoryListing {
public:
    // Packets are read into a buffer of this size: data and checksum of the
    // first reply, data and the first checksum byte of an entry.
    static constexpr size_t RECEIVE_BUFFER_SIZE = 255;
    // An entry's fields end at offset 17 of its data.
    static constexpr size_t ENTRY_SIZE = 18;

    explicit CDirectoryListing(IFolderRows* rows = nullptr) : m_pRows(rows) {}

    void SetFolderRows(IFolderRows* rows) { m_pRows = rows; }

    // Runs the listing script; true when the calculator ended the listing
    // properly. Entries received before a failure stay.
    bool ReadDirectory(CLink& link);

    // Empties both entry lists. The current folder is kept: a variable that
    // arrives before any folder entry belongs to the last folder seen.
    void Clear();

    // Appends the folder, makes it the current one and shows it unless its
    // name is four decimal digits. False only when the row was refused.
    bool AddFolderEntry(const std::string& name, uint32_t size);
    void AddVariableEntry(const VarEntry& entry);

    // Folder names made of exactly four decimal digits get no row.
    static bool IsHiddenFolderName(const std::string& name);

    std::vector<FolderEntry> m_folders;
    std::vector<VarEntry> m_vars;
    std::string m_strCurFolder;

private:
    bool ReadFirstReply(CLink& link);
    bool ReadEntryPacket(CLink& link);
    void StoreEntry(const uint8_t* data);

    IFolderRows* m_pRows;
    uint8_t m_buffer[RECEIVE_BUFFER_SIZE] = {};
};
