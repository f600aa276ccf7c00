#include "cli/InterruptSignals.h"

#include <csignal>

// POSIX signals; Windows has its console control events
// (Win32InterruptSignals.cpp).

namespace {

volatile std::sig_atomic_t g_nRequested = 0;
int g_nDepth = 0;

void NoteSignal(int)
{
    g_nRequested = 1;
}

constexpr int SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int SIGNAL_COUNT = sizeof SIGNALS / sizeof SIGNALS[0];
struct sigaction g_previous[SIGNAL_COUNT];

} // namespace

CInterruptSignals::CInterruptSignals()
{
    if (g_nDepth++ > 0)
        return;
    g_nRequested = 0;
    struct sigaction action = {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    // Not reset after the first: a second Ctrl+C in the clean-up would
    // otherwise end the program before its temporary file is gone. No
    // restart either, so that a read waiting for the user ends.
    action.sa_flags = 0;
    sigset_t unblock;
    sigemptyset(&unblock);
    for (int i = 0; i < SIGNAL_COUNT; ++i) {
        sigaction(SIGNALS[i], nullptr, &g_previous[i]);
        if (g_previous[i].sa_handler == SIG_IGN)
            continue;
        sigaction(SIGNALS[i], &action, nullptr);
        sigaddset(&unblock, SIGNALS[i]);
    }
    // One that came before the handler was in, held back by whoever
    // started the program, is taken now.
    sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
}

CInterruptSignals::~CInterruptSignals()
{
    if (--g_nDepth > 0)
        return;
    for (int i = 0; i < SIGNAL_COUNT; ++i)
        sigaction(SIGNALS[i], &g_previous[i], nullptr);
}

bool CInterruptSignals::IsRequested()
{
    return g_nRequested != 0;
}
