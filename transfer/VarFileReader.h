#pragma once

#include "transfer/VariableFile.h"

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

enum class VarFileCheck {
    Ok,
    NotVariableFile, // the first eight bytes are not the signature
    Damaged,         // see VarFileDamage: it cannot be sent as it stands
};

// Why a file was found damaged, for the message that refuses it.
enum class VarFileDamage {
    None,
    HeaderCut,        // shorter than its header
    EntriesBeyondEnd, // more entries than the file has room for
    SectionCut,       // a variable's data runs past the end
    SectionTooLong,   // a variable longer than one data packet carries
    BadName,          // a name the calculator cannot take as it stands
};

// Reads a variable file of either group layout: each section is taken as
// V + 6 bytes at its entry's offset, so files with one sum per section and
// files with a single sum at the end read alike. Check() looks at the whole
// structure before anything is used, so that a damaged file is refused
// before its first variable reaches the calculator.
class CVarFileReader {
public:
    explicit CVarFileReader(std::istream& in) : m_in(in) {}

    // Reads the header and the entry table and checks that every variable's
    // section, with the two sum bytes that follow it, lies inside the file
    // and fits one data packet, and that every folder and name it would be
    // sent under can name a variable on the calculator.
    VarFileCheck Check();

    // After Check() returned Damaged: why, and what it concerns (the entry
    // count, or the variable or name at fault, shown as text).
    VarFileDamage GetDamage() const { return m_damage; }
    const std::string& GetDamageSubject() const { return m_strDamageSubject; }

    // Valid after Check() returned Ok.
    const std::string& GetDefaultFolder() const { return m_strDefaultFolder; }
    const std::vector<VarFileEntry>& GetEntries() const { return m_entries; }
    // True when the entry switches the current folder rather than holding a
    // variable; only group files have folder entries.
    bool IsFolderEntry(size_t index) const;
    // Where the entry's data section starts.
    uint64_t GetSectionOffset(size_t index) const;

    // Reads exactly `length` bytes at `offset`; false on a short read.
    bool ReadAt(uint64_t offset, uint8_t* out, size_t length);

private:
    VarFileCheck Refuse(VarFileDamage damage, std::string subject);
    VarFileCheck CheckSection(size_t index);
    VarFileCheck CheckNames(const uint8_t* header, const uint8_t* table);

    std::istream& m_in;
    uint64_t m_nFileLength = 0;
    std::string m_strDefaultFolder;
    std::vector<VarFileEntry> m_entries;
    VarFileDamage m_damage = VarFileDamage::None;
    std::string m_strDamageSubject;
};
