#include "cli/InterruptSignals.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t g_requested = 0;

void NoteSignal(int)
{
    g_requested = 1;
}

constexpr int kSignals[] = {SIGINT, SIGTERM};

} // namespace

#ifdef _WIN32

namespace {
void (*g_previous[2])(int) = {};
}

// The C runtime puts the default back before it calls a handler, so the
// second signal ends the program.
CInterruptSignals::CInterruptSignals()
{
    g_requested = 0;
    for (int i = 0; i < 2; ++i)
        g_previous[i] = std::signal(kSignals[i], NoteSignal);
}

CInterruptSignals::~CInterruptSignals()
{
    for (int i = 0; i < 2; ++i)
        std::signal(kSignals[i], g_previous[i] == SIG_ERR ? SIG_DFL : g_previous[i]);
}

#else

namespace {
struct sigaction g_previous[2];
}

CInterruptSignals::CInterruptSignals()
{
    g_requested = 0;
    struct sigaction action = {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    // Once only, and without restarting a read that waits for the user.
    action.sa_flags = SA_RESETHAND;
    for (int i = 0; i < 2; ++i)
        sigaction(kSignals[i], &action, &g_previous[i]);
}

CInterruptSignals::~CInterruptSignals()
{
    for (int i = 0; i < 2; ++i)
        sigaction(kSignals[i], &g_previous[i], nullptr);
}

#endif

bool CInterruptSignals::IsRequested()
{
    return g_requested != 0;
}
