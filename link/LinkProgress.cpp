#include "link/LinkProgress.h"

#include "link/Link.h"
#include "text/StringIds.h"

CLinkExchange::CLinkExchange(CLink& link, int textId, const std::string& arg, uint64_t expectedBytes)
    : m_link(link)
{
    m_link.BeginExchange(textId, arg, expectedBytes);
}

CLinkExchange::~CLinkExchange()
{
    m_link.EndExchange();
}

int ExchangeFailureMessage(const CLink& link, int failureId)
{
    return link.WasCancelled() ? IDS_EXCHANGE_CANCELLED : failureId;
}
