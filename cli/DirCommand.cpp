#include "cli/CliContext.h"
#include "cli/CliOptions.h"
#include "cli/ConsoleMessages.h"
#include "cli/DirPrinter.h"
#include "cli/ExitStatus.h"
#include "link/DirectoryListing.h"
#include "link/LinkProgress.h"
#include "text/StringIds.h"

bool ReadListing(CCliContext& context, CDirectoryListing& listing)
{
    const bool listed = listing.ReadDirectory(context.link);
    if (!listed)
        context.messages.ShowMessage(ExchangeFailureMessage(context.link, IDS_DIRECTORY_FAILED));
    return listed;
}

int RunDirCommand(CCliContext& context)
{
    // A listing cut short is not printed: a script would take it for the whole.
    CDirectoryListing listing;
    if (!ReadListing(context, listing))
        return EXIT_STATUS_LINK;
    const auto groups = GroupByFolder(listing.m_folders, listing.m_vars, context.options.bAll);
    if (context.options.bJson)
        PrintListingJson(context.out, groups);
    else
        PrintListingText(context.out, groups);
    return EXIT_STATUS_OK;
}
