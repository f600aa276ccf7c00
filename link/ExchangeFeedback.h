#pragma once

class CLink;

// The exchanges a page starts on the calculator link.
enum class ExchangeKind { Directory, Receive, Send, Screen, Backup, Restore, Listen };

// What a window shows while one of its pages holds the link in an exchange:
// a wait cursor, or a progress object it attaches to the link for the
// exchange's bytes. The page logic says when an exchange starts and ends;
// the window decides what to show.
class IExchangeFeedback {
public:
    virtual ~IExchangeFeedback() = default;
    virtual void ExchangeStarts(ExchangeKind kind, CLink& link) = 0;
    virtual void ExchangeEnds() = 0;
};

// Brackets one exchange; nothing is shown without a feedback object.
class CExchangeScope {
public:
    CExchangeScope(IExchangeFeedback* feedback, ExchangeKind kind, CLink& link) : m_pFeedback(feedback)
    {
        if (m_pFeedback != nullptr)
            m_pFeedback->ExchangeStarts(kind, link);
    }
    ~CExchangeScope()
    {
        if (m_pFeedback != nullptr)
            m_pFeedback->ExchangeEnds();
    }
    CExchangeScope(const CExchangeScope&) = delete;
    CExchangeScope& operator=(const CExchangeScope&) = delete;

private:
    IExchangeFeedback* m_pFeedback;
};
