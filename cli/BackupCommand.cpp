#include "cli/CliContext.h"
#include "cli/CliOptions.h"
#include "cli/ConsoleMessages.h"
#include "cli/ExitStatus.h"
#include "cli/ProgressMeter.h"
#include "transfer/BackupOperation.h"

#include <filesystem>
#include <ostream>
#include <system_error>

namespace {

// Roughly what a TI-92 backup moves on the cable, for the percentage.
constexpr uint64_t kTypicalBackupBytes = 60000;

} // namespace

int RunBackupCommand(CCliContext& context)
{
    const std::string& path = context.options.files.front();
    CBackupOperation backup(context.link, context.messages);
    context.meter.Begin("backing up into " + path, kTypicalBackupBytes);
    const bool saved = backup.Backup(path);
    context.meter.End();
    if (!saved)
        return FailureStatus(context.messages);
    context.out << path << '\n';
    return EXIT_STATUS_OK;
}

int RunRestoreCommand(CCliContext& context)
{
    const std::string& path = context.options.files.front();
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    CBackupOperation restore(context.link, context.messages);
    context.meter.Begin("restoring " + path, ec ? 0 : size);
    // The console answers the question: Yes for --yes, else on a terminal.
    const bool restored = restore.Restore(path, false);
    context.meter.End();
    if (restored)
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
