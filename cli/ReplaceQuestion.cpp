#include "cli/CliContext.h"
#include "cli/ConsoleMessages.h"
#include "shell/StringIds.h"

#include <filesystem>
#include <system_error>

bool MayReplaceFile(CCliContext& context, const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return true;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size == 0)
        return true;
    return context.messages.AskYesNo(IDS_OVERWRITE_FILE, path);
}
