#include "cli/CliContext.h"
#include "cli/CliOptions.h"
#include "cli/ConsoleMessages.h"
#include "cli/ExitStatus.h"
#include "shell/StringIds.h"
#include "transfer/ListenOperation.h"

#include <csignal>
#include <ostream>

namespace {

// Ended by Ctrl-C (or a termination request) before anything came.
constexpr int kExitInterrupted = 130;

volatile std::sig_atomic_t g_stopRequested = 0;

extern "C" void RequestStop(int)
{
    g_stopRequested = 1;
}

// Ctrl-C and a termination request end the wait instead of the program, for
// as long as the object lives.
class CStopSignals {
public:
    CStopSignals()
    {
        g_stopRequested = 0;
        m_oldInterrupt = std::signal(SIGINT, RequestStop);
        m_oldTerminate = std::signal(SIGTERM, RequestStop);
    }
    ~CStopSignals()
    {
        std::signal(SIGINT, m_oldInterrupt);
        std::signal(SIGTERM, m_oldTerminate);
    }
    CStopSignals(const CStopSignals&) = delete;
    CStopSignals& operator=(const CStopSignals&) = delete;

private:
    void (*m_oldInterrupt)(int);
    void (*m_oldTerminate)(int);
};

} // namespace

int RunListenCommand(CCliContext& context)
{
    const CCliOptions& options = context.options;
    if (!CheckOutputFolder(context))
        return EXIT_STATUS_FILE;

    CStopSignals signals;
    CListenOperation listen(context.link, context.messages, [] { return g_stopRequested != 0; });
    // Each file as soon as it is written, for a script reading along.
    listen.SetSavedHook([&context](const std::string& path) { context.out << path << std::endl; });
    context.messages.ShowMessage(IDS_LISTEN_WAITING);
    if (!listen.Listen(options.strDirectory, options.bOnce))
        return FailureStatus(context.messages);
    if (listen.WasCancelled() && listen.GetWrittenPaths().empty())
        return kExitInterrupted;
    return EXIT_STATUS_OK;
}
