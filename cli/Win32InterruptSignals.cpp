#include "cli/InterruptSignals.h"

#include <windows.h>

// Ctrl+C and Ctrl+Break reach a console program as control events, on a
// thread of their own. The first is noted and the exchange stops at its next
// byte; a second one is left to the system, which ends the program at once.

namespace {

volatile LONG g_requested = 0;

BOOL WINAPI NoteControlEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        return InterlockedExchange(&g_requested, 1) == 0 ? TRUE : FALSE;
    default:
        return FALSE;
    }
}

} // namespace

CInterruptSignals::CInterruptSignals()
{
    InterlockedExchange(&g_requested, 0);
    SetConsoleCtrlHandler(NoteControlEvent, TRUE);
}

CInterruptSignals::~CInterruptSignals()
{
    SetConsoleCtrlHandler(NoteControlEvent, FALSE);
}

bool CInterruptSignals::IsRequested()
{
    return InterlockedCompareExchange(&g_requested, 0, 0) != 0;
}
