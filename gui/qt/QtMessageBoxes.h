#pragma once

#include "text/UserMessages.h"

// The user's messages as modal message boxes: texts by id from the language
// library, OK boxes and Yes/No questions, and the one-line text dialog of
// the program's own template IDD_INPUT_STRING.
class CQtMessageBoxes final : public IUserMessages {
public:
    void ShowMessage(int id, const std::string& arg = {}) override;
    void ShowText(const std::string& text) override;
    bool AskYesNo(int id, const std::string& arg = {}) override;
    int AskText(int titleId, int promptId, std::string& text) override;
};

// Every message of the program goes through here. Tests put a recorder in
// place with SetUserMessages; null puts the message boxes back.
IUserMessages& UserMessages();
void SetUserMessages(IUserMessages* messages);
// Passes every call on to whatever UserMessages() is at the time: for the
// objects that keep where their messages go from the moment they are built.
IUserMessages& CurrentUserMessages();

// A language string with its "%s" replaced by `arg`.
std::string FormatLanguageMessage(int id, const std::string& arg);
