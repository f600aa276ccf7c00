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
    if (!backup.Backup(path)) {
        const int status = FailureStatus(context.messages);
        if (status == EXIT_STATUS_DECLINED)
            context.err << "vantrel92-cli: nothing was changed\n";
        return status;
    }
    context.out << path << '\n';
    return EXIT_STATUS_OK;
}

int RunRestoreCommand(CCliContext& context)
{
    const std::string& path = context.options.files.front();
    if (const std::string problem = PathProblem(path, "file"); !problem.empty()) {
        context.err << "vantrel92-cli: " << path << ' ' << problem << '\n';
        return EXIT_STATUS_FILE;
    }
    CBackupOperation restore(context.link, context.messages);
    // The console answers the question: Yes for --yes, else on a terminal.
    if (restore.Restore(path, false))
        return EXIT_STATUS_OK;
    if (context.messages.WasQuestionDeclined()) {
        // Without a terminal nobody could answer: --yes is what is missing.
        if (!context.messages.IsInteractive())
            context.err << "vantrel92-cli: a restore replaces the calculator's whole memory: add --yes to go on\n";
        context.err << "vantrel92-cli: nothing was changed\n";
        return EXIT_STATUS_DECLINED;
    }
    // Refused before any exchange: the file itself is at fault.
    if (restore.GetLastResult() == ExchangeResult::Done)
        return EXIT_STATUS_FILE;
    return EXIT_STATUS_LINK;
}
