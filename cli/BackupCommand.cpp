#include "cli/CliContext.h"
#include "cli/CliOptions.h"
#include "cli/ConsoleMessages.h"
#include "cli/ExitStatus.h"
#include "transfer/BackupOperation.h"

#include <ostream>

int RunBackupCommand(CCliContext& context)
{
    const std::string& path = context.options.files.front();
    CBackupOperation backup(context.link, context.messages);
    if (!backup.Backup(path))
        return FailureStatus(context.messages);
    context.out << path << '\n';
    return EXIT_STATUS_OK;
}

int RunRestoreCommand(CCliContext& context)
{
    const std::string& path = context.options.files.front();
    CBackupOperation restore(context.link, context.messages);
    // The console answers the question: Yes for --yes, else on a terminal.
    if (restore.Restore(path, false))
        return EXIT_STATUS_OK;
    if (context.messages.WasQuestionDeclined()) {
        context.err << "vantrel92-cli: a restore replaces the calculator's whole memory: add --yes to go on\n";
        return EXIT_STATUS_USAGE;
    }
    // Refused before any exchange: the file itself is at fault.
    if (restore.GetLastResult() == ExchangeResult::Done)
        return EXIT_STATUS_FILE;
    return EXIT_STATUS_LINK;
}
