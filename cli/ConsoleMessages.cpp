#include "cli/ConsoleMessages.h"

#include "cli/ProgressMeter.h"
#include "text/StringIds.h"
#include "text/TextFormat.h"

#include <istream>
#include <ostream>
#include <utility>

namespace {

// Language texts break lines the Windows way.
std::string TerminalLines(std::string text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return out;
}

bool IsYes(const std::string& answer)
{
    std::string word;
    for (char c : answer)
        if (c != ' ' && c != '\t' && c != '\r')
            word += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    // English and Italian answers alike.
    return word == "y" || word == "yes" || word == "s" || word == "si" || word == "s\xC3\xAC";
}

} // namespace

CConsoleMessages::CConsoleMessages(std::ostream& err, std::istream& in, TextLookup lookup)
    : m_err(err), m_in(in), m_lookup(std::move(lookup))
{
}

std::string CConsoleMessages::Format(int id, const std::string& arg) const
{
    std::string text = m_lookup ? m_lookup(id) : std::string();
    if (text.empty())
        text = "Message " + std::to_string(id) + (arg.empty() ? std::string() : ": " + arg);
    return TerminalLines(FormatText(text, {arg}));
}

void CConsoleMessages::Print(const std::string& text, bool withSubject)
{
    if (m_pMeter != nullptr)
        m_pMeter->ClearLine();
    if (withSubject && !m_strSubject.empty())
        m_err << m_strSubject << ": ";
    m_err << text;
    if (text.empty() || text.back() != '\n')
        m_err << '\n';
    m_err.flush();
}

void CConsoleMessages::ShowMessage(int id, const std::string& arg)
{
    m_shownIds.push_back(id);
    // The window's wording names its button; here the command is meant.
    const int shown = id == IDS_SEND_IS_BACKUP ? IDS_SEND_IS_BACKUP_COMMAND : id;
    Print(Format(shown, arg), arg != m_strSubject);
}

void CConsoleMessages::BeginItem()
{
    m_bDeclined = false;
    m_nItemTexts = m_shownTexts.size();
}

void CConsoleMessages::ShowText(const std::string& text)
{
    m_shownTexts.push_back(text);
    Print(TerminalLines(text));
}

bool CConsoleMessages::AskYesNo(int id, const std::string& arg)
{
    m_shownIds.push_back(id);
    const std::string question = Format(id, arg);
    if (m_bAnswerYes) {
        Print(question + " yes (" + m_strYesOption + ")");
        return true;
    }
    if (!m_bInteractive) {
        Print(question + " no (" + m_strYesOption + " answers yes)");
        m_bDeclined = true;
        return false;
    }
    if (m_pMeter != nullptr)
        m_pMeter->ClearLine();
    m_err << question << " [y/N] ";
    m_err.flush();
    std::string answer;
    const bool yes = static_cast<bool>(std::getline(m_in, answer)) && IsYes(answer);
    if (!yes)
        m_bDeclined = true;
    return yes;
}

int CConsoleMessages::AskText(int, int, std::string& text)
{
    // Asked again only when the name given was refused; a terminal program
    // has nobody to type another, so that ends the operation like Cancel.
    if (++m_nNamePrompts > 1 || m_strGroupName.empty())
        return 2;
    text = m_strGroupName;
    return 1;
}
