#include "cli/InterruptSignals.h"

#include <csignal>

// POSIX signals; Windows has its console control events
// (Win32InterruptSignals.cpp).

namespace {

volatile std::sig_atomic_t g_requested = 0;

void NoteSignal(int)
{
    g_requested = 1;
}

constexpr int SIGNALS[] = {SIGINT, SIGTERM};
struct sigaction g_previous[2];

} // namespace

CInterruptSignals::CInterruptSignals()
{
    g_requested = 0;
    struct sigaction action = {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    // Once only, and without restarting a read that waits for the user.
    action.sa_flags = SA_RESETHAND;
    for (int i = 0; i < 2; ++i)
        sigaction(SIGNALS[i], &action, &g_previous[i]);
}

CInterruptSignals::~CInterruptSignals()
{
    for (int i = 0; i < 2; ++i)
        sigaction(SIGNALS[i], &g_previous[i], nullptr);
}

bool CInterruptSignals::IsRequested()
{
    return g_requested != 0;
}
