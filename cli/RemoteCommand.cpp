// keys, run, delete and mkdir: what the calculator has no link command for,
// done by pressing its keys.

#include "cli/CliContext.h"
#include "cli/CliOptions.h"
#include "cli/ConsoleMessages.h"
#include "cli/ExitStatus.h"
#include "transfer/RemoteOperation.h"

#include <ostream>

namespace {

int StatusOf(const CRemoteOperation& operation)
{
    switch (operation.GetFailure()) {
    case CRemoteOperation::Failure::None: return EXIT_STATUS_OK;
    case CRemoteOperation::Failure::Refused: return EXIT_STATUS_USAGE;
    case CRemoteOperation::Failure::NotFound: return EXIT_STATUS_NOT_FOUND;
    case CRemoteOperation::Failure::Declined: return EXIT_STATUS_DECLINED;
    case CRemoteOperation::Failure::Link: break;
    }
    return EXIT_STATUS_LINK;
}

std::vector<VariableRef> VariablesOf(const CCliOptions& options)
{
    std::vector<VariableRef> variables;
    for (const CCliOptions::VarName& var : options.vars)
        variables.push_back({var.folder, var.name});
    return variables;
}

} // namespace

int RunKeysCommand(CCliContext& context)
{
    CRemoteOperation operation(context.link, context.messages);
    operation.PressKeys(context.options.keys, context.options.strKeysText);
    return StatusOf(operation);
}

int RunRunCommand(CCliContext& context)
{
    CRemoteOperation operation(context.link, context.messages);
    operation.Run(VariablesOf(context.options).front(), context.options.strArguments);
    return StatusOf(operation);
}

int RunDeleteCommand(CCliContext& context)
{
    CRemoteOperation operation(context.link, context.messages);
    // The console answers the question: Yes for --yes, else on a terminal.
    operation.Delete(VariablesOf(context.options), false);
    if (operation.GetFailure() == CRemoteOperation::Failure::Declined) {
        // Without a terminal nobody could answer: --yes is what is missing.
        if (!context.messages.IsInteractive())
            context.err << "vantrel92-cli: a delete cannot be undone: add --yes to go on\n";
        context.err << "vantrel92-cli: nothing was changed\n";
    }
    return StatusOf(operation);
}

int RunMkdirCommand(CCliContext& context)
{
    CRemoteOperation operation(context.link, context.messages);
    operation.MakeFolder(context.options.strFolder);
    return StatusOf(operation);
}
