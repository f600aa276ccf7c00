#include "cli/CliContext.h"
#include "cli/CliOptions.h"
#include "cli/ConsoleMessages.h"
#include "cli/ExitStatus.h"
#include "sim/BuiltInCalculator.h"
#include "text/StringIds.h"
#include "transfer/ListenOperation.h"

#include <ostream>

int RunListenCommand(CCliContext& context)
{
    const CCliOptions& options = context.options;
    if (!CheckOutputFolder(context))
        return EXIT_STATUS_FILE;

    // The simulated calculator can send by itself, as a user would from its
    // menu once the PC waits.
    if (!options.simulateSend.empty() && context.simulated != nullptr) {
        std::string error;
        if (!context.simulated->SetMenuSend(options.simulateSend, error)) {
            context.err << "vantrel92-cli: --simulate-send: " << error << '\n';
            return EXIT_STATUS_NOT_FOUND;
        }
    }

    // A signal cancels the link's exchange, which ends the wait.
    CListenOperation listen(context.link, context.messages);
    // Each file as soon as it is written, for a script reading along.
    listen.SetSavedHook([&context](const std::string& path) { context.out << path << std::endl; });
    context.messages.ShowMessage(IDS_LISTEN_WAITING);
    if (!options.simulateSend.empty() && context.simulated != nullptr)
        context.simulated->SendFromMenu();
    if (!listen.Listen(options.strDirectory, options.bOnce))
        return FailureStatus(context.messages);
    // Stopped: a success once something came, else an interrupted run.
    if (listen.WasCancelled() && listen.GetWrittenPaths().empty())
        return EXIT_STATUS_INTERRUPTED;
    return EXIT_STATUS_OK;
}
