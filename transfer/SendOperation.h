#pragma once

#include <string>

class CLink;
class CVarFileReader;
class IUserMessages;

// Sends a variable file to the calculator: a single-variable file as one
// variable, a group file variable by variable, its folder entries switching
// the folder the following variables go to. A file that is not whole is
// refused before anything goes out. A cancelled send says so in one
// message, instead of the failure.
class CSendOperation {
public:
    CSendOperation(CLink& link, IUserMessages& messages) : m_link(link), m_messages(messages) {}

    // The send button: `path` is the selected file, empty when none. True
    // when every variable of the file reached the calculator.
    bool SendFile(const std::string& path);

    // The message that refuses a file whose entries are not all variables
    // (a calculator backup, a directory entry) or that holds no variable at
    // all; 0 when every entry may be sent. Folder entries of group files
    // only switch the folder. Called after the file's Check().
    static int RefusalOfEntries(const CVarFileReader& file);

private:
    // The variables of a checked file, as one exchange for the progress.
    bool SendVariables(CVarFileReader& file, const std::string& fileName);

    CLink& m_link;
    IUserMessages& m_messages;
};
