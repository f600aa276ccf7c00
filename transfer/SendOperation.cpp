#include "transfer/SendOperation.h"

#include "link/Link.h"
#include "link/LinkProgress.h"
#include "link/VarTypes.h"
#include "text/DisplayText.h"
#include "text/StringIds.h"
#include "text/SystemPath.h"
#include "text/UserMessages.h"
#include "transfer/BackupFile.h"
#include "transfer/ExchangeOpening.h"
#include "transfer/VarFileReader.h"
#include "transfer/VariableSender.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

// What sending the file's variables moves on the cable, by the lengths their
// sections give; the folder entries' names are left out of the reckoning.
uint64_t ExpectedBytes(CVarFileReader& file)
{
    uint64_t total = 0;
    const auto& entries = file.GetEntries();
    for (size_t i = 0; i < entries.size(); ++i) {
        uint8_t prefix[SECTION_PREFIX_SIZE];
        if (!file.IsFolderEntry(i) && file.ReadAt(file.GetSectionOffset(i), prefix, sizeof prefix))
            total += VariableExchangeBytes(SectionLengthFromPrefix(prefix),
                                           file.GetDefaultFolder().size() + 1 + entries[i].name.size());
    }
    return total;
}

// The message that says why a file is refused.
int RefusalMessage(VarFileDamage damage)
{
    switch (damage) {
    case VarFileDamage::HeaderCut: return IDS_FILE_HEADER_CUT;
    case VarFileDamage::EntriesBeyondEnd: return IDS_FILE_ENTRIES_BEYOND_END;
    case VarFileDamage::SectionCut: return IDS_FILE_SECTION_CUT;
    case VarFileDamage::SectionTooLong: return IDS_FILE_SECTION_TOO_LONG;
    case VarFileDamage::BadName: return IDS_FILE_BAD_NAME;
    case VarFileDamage::None: break;
    }
    return IDS_SEND_FAILED;
}

} // namespace

bool CSendOperation::SendFile(const std::string& path)
{
    if (path.empty()) {
        m_messages.ShowMessage(IDS_NO_FILE_SELECTED);
        return false;
    }
    // Only a regular file: opening a pipe or a device could wait forever.
    std::error_code ec;
    std::ifstream in;
    if (std::filesystem::is_regular_file(SystemPath(path), ec))
        in.open(SystemPath(path), std::ios::binary);
    if (!in.is_open()) {
        m_messages.ShowMessage(IDS_SEND_FAILED);
        return false;
    }

    CVarFileReader file(in);
    const VarFileCheck check = file.Check();
    // Refused by what it holds before whatever else may be wrong with it: a
    // backup taken for a variable could make the calculator lose its memory.
    if (const int refusal = check == VarFileCheck::NotVariableFile ? 0 : RefusalOfEntries(file)) {
        m_messages.ShowMessage(refusal, path);
        return false;
    }
    switch (check) {
    case VarFileCheck::Ok:
        break;
    case VarFileCheck::NotVariableFile:
        m_messages.ShowMessage(IDS_UNKNOWN_FILE_TYPE);
        return false;
    case VarFileCheck::Damaged:
        m_messages.ShowMessage(RefusalMessage(file.GetDamage()), file.GetDamageSubject());
        return false;
    }

    if (!SendVariables(file, FileNameOf(path))) {
        m_messages.ShowMessage(ExchangeFailureMessage(m_link, IDS_SEND_FAILED));
        return false;
    }
    m_messages.ShowMessage(IDS_FILE_SENT);
    return true;
}

bool CSendOperation::SendVariables(CVarFileReader& file, const std::string& fileName)
{
    CLinkExchange exchange(m_link, IDS_PROGRESS_SENDING, FileNameToDisplay(fileName), ExpectedBytes(file));
    CVariableSender sender(m_link, m_messages);
    std::string folder = file.GetDefaultFolder();
    const auto& entries = file.GetEntries();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (file.IsFolderEntry(i)) {
            folder = entries[i].name;
            continue;
        }
        if (!sender.LoadVariableData(file, file.GetSectionOffset(i)) || !sender.SendVariable(entries[i], folder))
            return false;
    }
    return true;
}

int CSendOperation::RefusalOfEntries(const CVarFileReader& file)
{
    const auto& entries = file.GetEntries();
    bool anyVariable = false;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (file.IsFolderEntry(i))
            continue;
        if (entries[i].type == VAR_BACKUP)
            return IDS_SEND_IS_BACKUP;
        if (entries[i].type == VAR_DIRLIST)
            return IDS_SEND_HAS_DIRECTORY;
        anyVariable = true;
    }
    // Nothing would go out, and "sent" would say that something had. A
    // damaged file says first what is wrong with it.
    return anyVariable || file.GetDamage() != VarFileDamage::None ? 0 : IDS_SEND_NO_VARIABLE;
}
