#pragma once

#include "text/UserMessages.h"

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

// The user's side of an operation on a terminal: messages of the language
// library and the program's fixed texts go to stderr; a yes/no question is
// asked on the terminal when there is one, otherwise answered No (or Yes
// with --force) and printed with its answer; the one-line prompt for a
// group file's name is answered with the name given on the command line.
class CProgressMeter;

class CConsoleMessages final : public IUserMessages {
public:
    // The text of language string `id`; empty when the library lacks it.
    using TextLookup = std::function<std::string(int id)>;

    CConsoleMessages(std::ostream& err, std::istream& in, TextLookup lookup);

    // Questions are read from `in` only when it is a terminal.
    void SetInteractive(bool interactive) { m_bInteractive = interactive; }
    bool IsInteractive() const { return m_bInteractive; }
    // Every yes/no question is answered Yes without asking.
    void SetAnswerYes(bool yes) { m_bAnswerYes = yes; }
    // The option that answers Yes, named beside an answered question.
    void SetYesOption(const std::string& option) { m_strYesOption = option; }
    // A progress line on the same terminal, taken away before each message.
    void SetProgressMeter(CProgressMeter* meter) { m_pMeter = meter; }
    // The answer to the group-name prompt.
    void SetGroupName(const std::string& name) { m_strGroupName = name; }
    // What the following messages are about, such as the file being sent:
    // each line begins with it, unless the message names it already. Empty
    // for nothing in particular.
    void SetSubject(const std::string& subject) { m_strSubject = subject; }

    void ShowMessage(int id, const std::string& arg = {}) override;
    void ShowText(const std::string& text) override;
    bool AskYesNo(int id, const std::string& arg = {}) override;
    int AskText(int titleId, int promptId, std::string& text) override;

    // The language text of `id` with `arg` in place of its "%s", line breaks
    // as the terminal wants them.
    std::string Format(int id, const std::string& arg) const;

    // What the operation said, for the exit status.
    const std::vector<int>& GetShownIds() const { return m_shownIds; }
    const std::vector<std::string>& GetShownTexts() const { return m_shownTexts; }
    // Since the item under way began (BeginItem): a question answered no,
    // the fixed texts shown.
    bool WasQuestionDeclined() const { return m_bDeclined; }
    std::vector<std::string> GetItemTexts() const
    {
        return {m_shownTexts.begin() + static_cast<std::ptrdiff_t>(m_nItemTexts), m_shownTexts.end()};
    }
    // One file or name of several begins.
    void BeginItem();
    // The operation asked for the group name again: it refused the one given.
    bool WasGroupNameRefused() const { return m_nNamePrompts > 1; }

private:
    void Print(const std::string& text, bool withSubject = true);

    std::ostream& m_err;
    std::istream& m_in;
    TextLookup m_lookup;
    CProgressMeter* m_pMeter = nullptr;
    bool m_bInteractive = false;
    bool m_bAnswerYes = false;
    std::string m_strYesOption = "--force";
    std::string m_strGroupName;
    std::string m_strSubject;
    std::vector<int> m_shownIds;
    std::vector<std::string> m_shownTexts;
    bool m_bDeclined = false;
    size_t m_nItemTexts = 0;
    int m_nNamePrompts = 0;
};
