#include "cli/InterruptSignals.h"

#include <windows.h>

// Ctrl+C and Ctrl+Break reach a console program as control events, on a
// thread of their own; so does the console window being closed, the user
// logging off and the system shutting down. Each is noted and the exchange
// stops at its next byte. Ctrl+C and Ctrl+Break are then handled: a second
// one is noted again rather than left to the system, which would end the
// program before its clean-up. After a close, log-off or shut-down event the
// system ends the program once the handler returns, so the handler waits
// (up to a few seconds, less than the system allows) for the clean-up.

namespace {

volatile LONG g_nRequested = 0;
int g_nDepth = 0;
HANDLE g_hCleanedUp = nullptr;

constexpr DWORD CLEAN_UP_WAIT_MS = 4000;

BOOL WINAPI NoteControlEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        InterlockedExchange(&g_nRequested, 1);
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        InterlockedExchange(&g_nRequested, 1);
        if (g_hCleanedUp != nullptr)
            WaitForSingleObject(g_hCleanedUp, CLEAN_UP_WAIT_MS);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

CInterruptSignals::CInterruptSignals()
{
    if (g_nDepth++ > 0)
        return;
    InterlockedExchange(&g_nRequested, 0);
    g_hCleanedUp = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(NoteControlEvent, TRUE);
}

CInterruptSignals::~CInterruptSignals()
{
    if (--g_nDepth > 0)
        return;
    // A handler waiting for the clean-up may let the system end the program.
    if (g_hCleanedUp != nullptr)
        SetEvent(g_hCleanedUp);
    SetConsoleCtrlHandler(NoteControlEvent, FALSE);
}

bool CInterruptSignals::IsRequested()
{
    return InterlockedCompareExchange(&g_nRequested, 0, 0) != 0;
}
