#pragma once

#include "link/DirEntries.h"

#include <string>
#include <vector>

class CLink;
class CVarFileBuilder;
class IUserMessages;

// A variable on the calculator, by folder and name.
struct VariableRef {
    std::string folder;
    std::string name;
};

// Receives calculator variables into files in a PC folder: one variable into
// a file named after it and its type, several into one group file whose name
// the user types. A file is replaced only by a complete new one: whatever
// fails, an existing file keeps every byte and no partial file is left. A
// cancelled receive says so in one message, instead of any failure.
class CReceiveOperation {
public:
    // `vars` is the last directory listing, where each variable's type, size
    // and attributes are found.
    CReceiveOperation(CLink& link, IUserMessages& messages, const std::vector<VarEntry>& vars)
        : m_link(link), m_messages(messages), m_vars(vars)
    {
    }

    // The receive button: `folder` is the selected folder row (null when
    // none), `names` the selected variable rows in list order. One name makes
    // a single-variable file, more a group file.
    bool OnReceive(const std::string& pcFolder, const std::string* folder, const std::vector<std::string>& names);

    bool ReceiveSingle(const std::string& pcFolder, const VariableRef& variable);
    // Asks for the group file's name (without extension) until one is usable.
    bool ReceiveGroup(const std::string& pcFolder, const std::vector<VariableRef>& variables);

    // The file written by the last successful receive.
    const std::string& GetWrittenPath() const { return m_strWrittenPath; }

private:
    bool AskGroupFileName(std::string& fileName);
    // Receives the variables into one file at `path`, which is replaced only
    // once the whole new file is written. `what` names them for the progress.
    bool ReceiveIntoFile(const std::string& path, const std::string& what, const std::vector<VariableRef>& variables);
    // The exchanges, one per variable, as one exchange for the progress.
    bool ReceiveVariables(const std::string& what, const std::vector<VariableRef>& variables,
                          CVarFileBuilder& builder);
    bool HasSectionShape(const uint8_t* data, size_t length);

    CLink& m_link;
    IUserMessages& m_messages;
    const std::vector<VarEntry>& m_vars;
    std::string m_strWrittenPath;
};
