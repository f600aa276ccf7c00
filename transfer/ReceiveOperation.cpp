#include "transfer/ReceiveOperation.h"

#include "link/Link.h"
#include "link/LinkProgress.h"
#include "link/VarTypes.h"
#include "text/DisplayText.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"
#include "text/UserMessages.h"
#include "transfer/ExchangeOpening.h"
#include "transfer/ReplacingFile.h"
#include "transfer/SafeFileName.h"
#include "transfer/VariableFile.h"
#include "transfer/VariableReceiver.h"

namespace {

constexpr char GROUP_EXTENSION[] = ".92g";
constexpr size_t MAX_GROUP_COUNT = 0xFFFF;

// What receiving these variables moves on the cable, by their listed sizes
// (a section is the listed size and its four leading bytes).
uint64_t ExpectedBytes(const std::vector<VarEntry>& vars, const std::vector<VariableRef>& variables)
{
    uint64_t total = 0;
    for (const VariableRef& variable : variables) {
        VarEntry entry;
        if (FindDirEntry(vars, variable.name, variable.folder, entry))
            total += VariableExchangeBytes(entry.size + 4, entry.folder.size() + 1 + entry.name.size());
    }
    return total;
}

} // namespace

bool CReceiveOperation::OnReceive(const std::string& pcFolder, const std::string* folder,
                                  const std::vector<std::string>& names)
{
    if (!folder) {
        m_messages.ShowMessage(IDS_NO_FOLDER_SELECTED);
        return false;
    }
    if (names.empty()) {
        m_messages.ShowMessage(IDS_NO_VAR_SELECTED);
        return false;
    }
    if (names.size() == 1)
        return ReceiveSingle(pcFolder, {*folder, names.front()});

    std::vector<VariableRef> variables;
    variables.reserve(names.size());
    for (const std::string& name : names)
        variables.push_back({*folder, name});
    return ReceiveGroup(pcFolder, variables);
}

bool CReceiveOperation::HasSectionShape(const uint8_t* data, size_t length)
{
    // The file is read back by each section's own length V, so a payload too
    // short to hold V, or shorter than V says, would be read with bytes that
    // are not its own.
    if (length >= SECTION_PREFIX_SIZE && SectionLengthFromPrefix(data) <= length)
        return true;
    m_messages.ShowText(ProgramText(IDS_MALFORMED_VARIABLE));
    return false;
}

bool CReceiveOperation::ReceiveSingle(const std::string& pcFolder, const VariableRef& variable)
{
    VarEntry entry;
    if (!FindDirEntry(m_vars, variable.name, variable.folder, entry)) {
        m_messages.ShowMessage(IDS_ENTRY_NOT_FOUND);
        return false;
    }
    const std::string path = JoinFolderPath(pcFolder, VariableFileName(entry.name, entry.type));
    const std::string what = CalcNameToDisplay(variable.folder) + "\\" + CalcNameToDisplay(variable.name);
    if (!ReceiveIntoFile(path, what, {variable}))
        return false;
    m_messages.ShowMessage(IDS_FILE_RECEIVED);
    return true;
}

bool CReceiveOperation::ReceiveIntoFile(const std::string& path, const std::string& what,
                                        const std::vector<VariableRef>& variables)
{
    CReplacingFile file;
    if (!CreateAfterAsking(file, m_messages, path))
        return false;

    CVarFileBuilder builder(static_cast<uint16_t>(variables.size()));
    if (!ReceiveVariables(what, variables, builder)) {
        if (m_link.WasCancelled())
            m_messages.ShowMessage(IDS_EXCHANGE_CANCELLED);
        return false;
    }
    std::string error;
    if (!file.Commit(builder.Finish(), error)) {
        m_messages.ShowText(FileNotWrittenText(path, error));
        return false;
    }
    m_strWrittenPath = path;
    return true;
}

bool CReceiveOperation::ReceiveVariables(const std::string& what, const std::vector<VariableRef>& variables,
                                         CVarFileBuilder& builder)
{
    CLinkExchange exchange(m_link, IDS_PROGRESS_RECEIVING, what, ExpectedBytes(m_vars, variables));
    CVariableReceiver receiver(m_link, m_messages);
    for (const VariableRef& variable : variables) {
        VarEntry entry;
        if (!FindDirEntry(m_vars, variable.name, variable.folder, entry)) {
            m_messages.ShowMessage(IDS_ENTRY_NOT_FOUND);
            return false;
        }
        if (!receiver.ReceiveVariable(entry) ||
            !HasSectionShape(receiver.GetVarData(), receiver.GetVarDataLength()))
            return false;
        // The section is the payload as received, even where the listing's
        // size disagrees: the listing cannot cut or stretch the variable.
        builder.AddVariable(entry.name, entry.type, entry.attributes, receiver.GetVarData(),
                            receiver.GetVarDataLength());
    }
    return true;
}

bool CReceiveOperation::AskGroupFileName(std::string& fileName)
{
    // The same text is offered again each time, so a refused name can be
    // corrected rather than typed anew.
    std::string typed;
    for (;;) {
        const int result = m_messages.AskText(IDS_GROUP_NAME_TITLE, IDS_GROUP_NAME_PROMPT, typed);
        if (result == -1) {
            m_messages.ShowMessage(IDS_CANNOT_CREATE_WINDOW);
            return false;
        }
        if (result != 1)
            return false;
        if (typed.empty())
            continue;
        fileName = typed + GROUP_EXTENSION;
        if (IsPlainFileName(fileName))
            return true;
        m_messages.ShowText(ProgramText(IDS_BAD_GROUP_NAME, {RefusedFileNameCharacters()}));
    }
}

bool CReceiveOperation::ReceiveGroup(const std::string& pcFolder, const std::vector<VariableRef>& variables)
{
    if (variables.size() > MAX_GROUP_COUNT) {
        m_messages.ShowText(ProgramText(IDS_TOO_MANY_VARIABLES));
        return false;
    }
    std::string fileName;
    if (!AskGroupFileName(fileName) ||
        !ReceiveIntoFile(JoinFolderPath(pcFolder, fileName), FileNameToDisplay(fileName), variables))
        return false;
    m_messages.ShowMessage(IDS_FILES_RECEIVED);
    return true;
}
