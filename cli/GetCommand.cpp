#include "cli/CliContext.h"
#include "cli/CliOptions.h"
#include "cli/ConsoleMessages.h"
#include "cli/ExitStatus.h"
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

} // namespace

// Why a receive failed, from what it told the user.
int FailureStatus(const CConsoleMessages& messages)
{
    if (messages.WasGroupNameRefused())
        return EXIT_STATUS_USAGE;
    if (messages.WasQuestionDeclined())
        return EXIT_STATUS_FILE;
    for (const std::string& text : messages.GetShownTexts())
        if (text.rfind(ProgramText(IDS_FILE_NOT_WRITTEN), 0) == 0)
            return EXIT_STATUS_FILE;
    return EXIT_STATUS_LINK;
}

bool CheckOutputFolder(CCliContext& context)
{
    const std::string& folder = context.options.strDirectory;
    std::error_code ec;
    if (folder.empty() || std::filesystem::is_directory(SystemPath(folder), ec))
        return true;
    context.err << "vantrel92-cli: " << folder << " is not a folder\n";
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
    if (options.group) {
        if (!receive.ReceiveGroup(options.strDirectory, refs))
            return FailureStatus(context.messages);
        context.out << receive.GetWrittenPath() << '\n';
        return EXIT_STATUS_OK;
    }
    for (const VariableRef& ref : refs) {
        if (!receive.ReceiveSingle(options.strDirectory, ref))
            return FailureStatus(context.messages);
        context.out << receive.GetWrittenPath() << '\n';
    }
    return EXIT_STATUS_OK;
}
