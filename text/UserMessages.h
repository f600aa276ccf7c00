#pragma once

#include <string>

// How the program's operations speak to the user: messages by string id of
// the language library, fixed texts, yes/no questions and a one-line text
// prompt. The GUI shows message boxes; tests and the command line answer
// and record them.
class IUserMessages {
public:
    virtual ~IUserMessages() = default;

    // An OK box with language string `id`; `arg` fills a "%s" in it.
    virtual void ShowMessage(int id, const std::string& arg = {}) = 0;
    // An OK box with a text of the program's own.
    virtual void ShowText(const std::string& text) = 0;
    // A Yes/No warning with language string `id`, No the default; true for
    // Yes.
    virtual bool AskYesNo(int id, const std::string& arg = {}) = 0;
    // The one-line input dialog: caption and prompt from the program's own
    // strings `titleId` and `promptId` (or, for an id the program's own
    // table lacks, the language library's), `text` shown and read back.
    // Returns 1 for OK, 2 for Cancel, -1 when the dialog cannot be shown.
    virtual int AskText(int titleId, int promptId, std::string& text) = 0;
};
