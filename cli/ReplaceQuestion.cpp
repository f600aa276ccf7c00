#include "cli/CliContext.h"
#include "cli/ConsoleMessages.h"
#include "transfer/ReplacingFile.h"

bool MayReplaceFile(CCliContext& context, const std::string& path)
{
    return AskBeforeReplacing(context.messages, path);
}
