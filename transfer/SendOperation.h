#pragma once

#include <string>

class CLink;
class IUserMessages;

// Sends a variable file to the calculator: a single-variable file as one
// variable, a group file variable by variable, its folder entries switching
// the folder the following variables go to. A file that is not whole is
// refused before anything goes out.
class CSendOperation {
public:
    CSendOperation(CLink& link, IUserMessages& messages) : m_link(link), m_messages(messages) {}

    // The send button: `path` is the selected file, empty when none. True
    // when every variable of the file reached the calculator.
    bool SendFile(const std::string& path);

private:
    CLink& m_link;
    IUserMessages& m_messages;
};
