#include "cli/CliContext.h"
#include "cli/CliOptions.h"
#include "cli/ConsoleMessages.h"
#include "cli/ExitStatus.h"
#include "cli/InterruptSignals.h"
#include "cli/ItemSummary.h"
#include "link/DirectoryListing.h"
#include "text/DisplayText.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"
#include "text/SystemPath.h"
#include "transfer/ReceiveOperation.h"
#include "transfer/VariableReceiver.h"

#include <filesystem>
#include <ostream>
#include <system_error>

namespace {

// Says which of the named variables the listing lacks; true when it has
// them all. A name that is not there is a typo to correct, so nothing is
// received until every name is found.
bool AllListed(CCliContext& context, const std::vector<VarEntry>& vars, const std::vector<VariableRef>& refs)
{
    bool all = true;
    for (const VariableRef& ref : refs) {
        VarEntry entry;
        if (!FindDirEntry(vars, ref.name, ref.folder, entry)) {
            context.messages.ShowMessage(IDS_NAMED_VAR_NOT_FOUND,
                                         CalcNameToDisplay(ref.folder) + "\\" + CalcNameToDisplay(ref.name));
            all = false;
        }
    }
    return all;
}

// A short reason for the summary line of several names.
const char* FailureReason(int status)
{
    switch (status) {
    case EXIT_STATUS_DECLINED: return "not replaced";
    case EXIT_STATUS_FILE: return "not written";
    case EXIT_STATUS_USAGE: return "refused name";
    case EXIT_STATUS_INTERRUPTED: return "stopped";
    default: return "the calculator exchange failed";
    }
}

} // namespace

// Why a receive failed, from what it told the user.
int FailureStatus(const CConsoleMessages& messages)
{
    if (messages.WasGroupNameRefused())
        return EXIT_STATUS_USAGE;
    if (messages.WasQuestionDeclined())
        return EXIT_STATUS_DECLINED;
    for (const std::string& text : messages.GetItemTexts())
        if (text.rfind(ProgramText(IDS_FILE_NOT_WRITTEN), 0) == 0)
            return EXIT_STATUS_FILE;
    return EXIT_STATUS_LINK;
}

std::string PathProblem(const std::string& path, const char* wanted)
{
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(SystemPath(path), ec);
    if (!std::filesystem::exists(status))
        return "does not exist";
    const bool folder = std::string(wanted) == "folder";
    if (folder ? std::filesystem::is_directory(status) : std::filesystem::is_regular_file(status))
        return {};
    return std::string("is not a ") + wanted;
}

bool CheckOutputFolder(CCliContext& context)
{
    const std::string& folder = context.options.strDirectory;
    const std::string problem = folder.empty() ? std::string() : PathProblem(folder, "folder");
    if (problem.empty())
        return true;
    context.err << "vantrel92-cli: " << folder << ' ' << problem << '\n';
    return false;
}

int RunGetCommand(CCliContext& context)
{
    const CCliOptions& options = context.options;
    if (!CheckOutputFolder(context))
        return EXIT_STATUS_FILE;

    // Variables are found by their entries in the listing, as in the GUI.
    CDirectoryListing listing;
    if (!ReadListing(context, listing))
        return EXIT_STATUS_LINK;

    std::vector<VariableRef> refs;
    for (const CCliOptions::VarName& var : options.vars)
        refs.push_back({var.folder, var.name});
    if (!AllListed(context, listing.m_vars, refs))
        return EXIT_STATUS_NOT_FOUND;

    CReceiveOperation receive(context.link, context.messages, listing.m_vars);
    CItemSummary summary("received");
    if (options.group) {
        context.messages.BeginItem();
        if (receive.ReceiveGroup(options.strDirectory, refs)) {
            context.out << receive.GetWrittenPath() << '\n';
            summary.Done();
        } else {
            summary.Failed(*options.group, FailureReason(FailureStatus(context.messages)),
                           FailureStatus(context.messages));
        }
        summary.Print(context.err);
        return summary.GetStatus();
    }
    // A name that fails does not stop the others; a signal stops them all.
    for (const VariableRef& ref : refs) {
        const std::string shown = CalcNameToDisplay(ref.folder) + "\\" + CalcNameToDisplay(ref.name);
        if (CInterruptSignals::IsRequested()) {
            summary.Failed(shown, FailureReason(EXIT_STATUS_INTERRUPTED), EXIT_STATUS_INTERRUPTED);
            continue;
        }
        context.messages.BeginItem();
        if (!receive.ReceiveSingle(options.strDirectory, ref)) {
            const int status = CInterruptSignals::IsRequested() ? EXIT_STATUS_INTERRUPTED
                                                                : FailureStatus(context.messages);
            summary.Failed(shown, FailureReason(status), status);
            continue;
        }
        context.out << receive.GetWrittenPath() << '\n';
        summary.Done();
    }
    summary.Print(context.err);
    return summary.GetStatus();
}
