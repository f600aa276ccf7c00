#include "cli/ItemSummary.h"

#include "cli/ExitStatus.h"

#include <algorithm>
#include <iterator>
#include <ostream>

namespace {

constexpr int SEVERITY[] = {EXIT_STATUS_OK,   EXIT_STATUS_DECLINED,  EXIT_STATUS_USAGE,      EXIT_STATUS_FILE,
                            EXIT_STATUS_NOT_FOUND, EXIT_STATUS_LINK, EXIT_STATUS_INTERRUPTED};

long Severity(int status)
{
    const auto found = std::find(std::begin(SEVERITY), std::end(SEVERITY), status);
    return std::distance(std::begin(SEVERITY), found);
}

} // namespace

int CItemSummary::WorseStatus(int a, int b)
{
    return Severity(a) >= Severity(b) ? a : b;
}

void CItemSummary::Failed(const std::string& item, const std::string& reason, int status)
{
    m_failures.push_back({item, reason});
    m_nStatus = WorseStatus(m_nStatus, status);
}

void CItemSummary::Print(std::ostream& err) const
{
    if (m_nDone + m_failures.size() > 1)
        PrintCounts(err);
    if (m_nDone == 0 && m_nStatus == EXIT_STATUS_DECLINED)
        err << "vantrel92-cli: nothing was changed\n";
}

void CItemSummary::PrintCounts(std::ostream& err) const
{
    err << "vantrel92-cli: " << m_nDone << ' ' << m_strVerb;
    if (!m_failures.empty()) {
        err << ", " << m_failures.size() << " failed:";
        const char* separator = " ";
        for (const Failure& failure : m_failures) {
            err << separator << failure.item << " (" << failure.reason << ')';
            separator = ", ";
        }
    }
    err << '\n';
}
