#pragma once

#include "text/UserMessages.h"

// The user's messages while the program may be asked to end: they go to
// `shown` until `ended` says the end has come; from then on nothing is shown
// any more (the user has gone, and a message would keep the program up), a
// question is answered No and a name is not given, as if cancelled.
class CEndingMessages final : public IUserMessages {
public:
    CEndingMessages(IUserMessages& shown, bool (*ended)()) : m_shown(shown), m_pEnded(ended) {}

    void ShowMessage(int id, const std::string& arg = {}) override
    {
        if (!m_pEnded())
            m_shown.ShowMessage(id, arg);
    }
    void ShowText(const std::string& text) override
    {
        if (!m_pEnded())
            m_shown.ShowText(text);
    }
    bool AskYesNo(int id, const std::string& arg = {}) override { return !m_pEnded() && m_shown.AskYesNo(id, arg); }
    int AskText(int titleId, int promptId, std::string& text) override
    {
        return m_pEnded() ? ANSWER_CANCEL : m_shown.AskText(titleId, promptId, text);
    }

    // What a cancelled text prompt returns, as the dialog's Cancel button.
    static constexpr int ANSWER_CANCEL = 2;

private:
    IUserMessages& m_shown;
    bool (*m_pEnded)();
};
