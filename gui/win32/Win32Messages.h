#pragma once

#include "text/UserMessages.h"

// The program's messages as Win32 message boxes over the active window, and
// the one-line input dialog from template 101 of the program's own
// resources. A box never shows an empty text: a string the language library
// lacks is taken from the program's own table, or named by its number.
class CWin32Messages final : public IUserMessages {
public:
    void ShowMessage(int id, const std::string& arg = {}) override;
    void ShowText(const std::string& text) override;
    bool AskYesNo(int id, const std::string& arg = {}) override;
    int AskText(int titleId, int promptId, std::string& text) override;
};

// Language string `id` with `arg` in its "%s"; never empty.
std::string MessageText(int id, const std::string& arg);
