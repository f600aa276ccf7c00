#include "cli/CliContext.h"
#include "cli/CliOptions.h"
#include "cli/ConsoleMessages.h"
#include "cli/ExitStatus.h"
#include "cli/InterruptSignals.h"
#include "cli/ItemSummary.h"
#include "text/FileErrorText.h"
#include "text/SystemPath.h"
#include "transfer/SendOperation.h"
#include "transfer/VarFileReader.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <ostream>

namespace {

// Whether the send can only fail because of the file itself; the send
// operation then refuses it with its own message before any exchange.
// `reason` is what the summary of several files says of one that is not.
bool IsSendableFile(const std::string& path, CCliContext& context, bool& readable, std::string& reason)
{
    readable = false;
    reason = PathProblem(path, "file");
    if (!reason.empty()) {
        context.err << "vantrel92-cli: " << path << ' ' << reason << '\n';
        return false;
    }
    std::ifstream in(SystemPath(path), std::ios::binary);
    if (!in.is_open()) {
        reason = "cannot be read: " + FileErrorText(errno);
        context.err << "vantrel92-cli: " << path << ' ' << reason << '\n';
        return false;
    }
    readable = true;
    reason = "refused";
    CVarFileReader reader(in);
    return reader.Check() == VarFileCheck::Ok && CSendOperation::RefusalOfEntries(reader) == 0;
}

} // namespace

int RunSendCommand(CCliContext& context)
{
    CSendOperation send(context.link, context.messages);
    CItemSummary summary("sent");
    // A file that fails does not stop the others; a signal stops them all.
    for (const std::string& path : context.options.files) {
        if (CInterruptSignals::IsRequested()) {
            summary.Failed(path, "stopped", EXIT_STATUS_INTERRUPTED);
            continue;
        }
        // Every line about this file names it: several may be sent in a row.
        context.messages.SetSubject(path);
        bool readable = false;
        std::string reason;
        if (!IsSendableFile(path, context, readable, reason)) {
            if (readable)
                send.SendFile(path); // says why the file is refused
            summary.Failed(path, reason, EXIT_STATUS_FILE);
            continue;
        }
        if (!send.SendFile(path)) {
            const bool stopped = CInterruptSignals::IsRequested();
            summary.Failed(path, stopped ? "stopped" : "the calculator did not take it",
                           stopped ? EXIT_STATUS_INTERRUPTED : EXIT_STATUS_LINK);
            continue;
        }
        summary.Done();
    }
    context.messages.SetSubject({});
    summary.Print(context.err);
    return summary.GetStatus();
}
