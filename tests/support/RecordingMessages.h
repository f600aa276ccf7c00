#pragma once

#include "text/UserMessages.h"

#include <deque>
#include <string>
#include <vector>

// Answers the user's questions from a script and records every message, so
// that an operation's dialogue with the user can be asserted.
class CRecordingMessages final : public IUserMessages {
public:
    struct Shown {
        enum Kind { Message, Text, Question, Prompt } kind;
        int id;
        std::string text;
    };

    void ShowMessage(int id, const std::string& arg) override { m_shown.push_back({Shown::Message, id, arg}); }
    void ShowText(const std::string& text) override { m_shown.push_back({Shown::Text, 0, text}); }
    bool AskYesNo(int id, const std::string& arg) override
    {
        m_shown.push_back({Shown::Question, id, arg});
        if (m_yesNo.empty())
            return false;
        const bool answer = m_yesNo.front();
        m_yesNo.pop_front();
        return answer;
    }
    int AskText(int titleId, int, std::string& text) override
    {
        m_shown.push_back({Shown::Prompt, titleId, text});
        if (m_texts.empty())
            return 2;
        const auto [result, typed] = m_texts.front();
        m_texts.pop_front();
        if (result == 1)
            text = typed;
        return result;
    }

    void AnswerYesNo(bool yes) { m_yesNo.push_back(yes); }
    void AnswerText(int result, std::string typed = {}) { m_texts.push_back({result, std::move(typed)}); }

    const std::vector<Shown>& GetShown() const { return m_shown; }
    std::vector<int> GetMessageIds() const
    {
        std::vector<int> ids;
        for (const Shown& s : m_shown)
            if (s.kind == Shown::Message || s.kind == Shown::Question)
                ids.push_back(s.id);
        return ids;
    }
    std::vector<std::string> GetTexts() const
    {
        std::vector<std::string> texts;
        for (const Shown& s : m_shown)
            if (s.kind == Shown::Text)
                texts.push_back(s.text);
        return texts;
    }
    void Clear() { m_shown.clear(); }

private:
    std::vector<Shown> m_shown;
    std::deque<bool> m_yesNo;
    std::deque<std::pair<int, std::string>> m_texts;
};
