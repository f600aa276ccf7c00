#include "cli/CliContext.h"
#include "cli/CliOptions.h"
#include "cli/ConsoleMessages.h"
#include "cli/ExitStatus.h"
#include "text/FileErrorText.h"
#include "text/SystemPath.h"
#include "transfer/SendOperation.h"
#include "transfer/VarFileReader.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <system_error>

namespace {

// Whether the send can only fail because of the file itself; the send
// operation then refuses it with its own message before any exchange.
bool IsSendableFile(const std::string& path, CCliContext& context, bool& readable)
{
    std::error_code ec;
    readable = false;
    if (!std::filesystem::is_regular_file(SystemPath(path), ec)) {
        context.err << "vantrel92-cli: " << path << " is not a file\n";
        return false;
    }
    std::ifstream in(SystemPath(path), std::ios::binary);
    if (!in.is_open()) {
        context.err << "vantrel92-cli: cannot read " << path << ": " << FileErrorText(errno) << '\n';
        return false;
    }
    readable = true;
    CVarFileReader reader(in);
    return reader.Check() == VarFileCheck::Ok && CSendOperation::RefusalOfEntries(reader) == 0;
}

} // namespace

int RunSendCommand(CCliContext& context)
{
    CSendOperation send(context.link, context.messages);
    for (const std::string& path : context.options.files) {
        // Every line about this file names it: several may be sent in a row.
        context.messages.SetSubject(path);
        bool readable = false;
        if (!IsSendableFile(path, context, readable)) {
            if (readable)
                send.SendFile(path); // says why the file is refused
            return EXIT_STATUS_FILE;
        }
        if (!send.SendFile(path))
            return EXIT_STATUS_LINK;
    }
    return EXIT_STATUS_OK;
}
