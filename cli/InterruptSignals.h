#pragma once

// While an object of this class lives, SIGINT, SIGTERM and SIGHUP (Ctrl+C, a
// plain kill, the terminal closed) do not end the program at once: they are
// noted, the exchange under way stops at its next byte and the program winds
// down, removing its temporary files, with status 130. A signal repeated
// while it winds down is noted again and waits for the clean-up; every wait
// on the cable has its time-out, so the clean-up always ends. A signal that
// was ignored when the program started (nohup) stays ignored. A question
// waiting on the terminal is not resumed after the signal. On Windows the
// same holds for Ctrl+C, Ctrl+Break and the console window being closed.
//
// Objects nest: the program makes one first thing in main, so that a signal
// that comes while it starts is noted too; the ones made after it only
// share it.
class CInterruptSignals {
public:
    CInterruptSignals();
    // The last one puts back what was there before.
    ~CInterruptSignals();

    CInterruptSignals(const CInterruptSignals&) = delete;
    CInterruptSignals& operator=(const CInterruptSignals&) = delete;

    // A signal came since the outermost object was made.
    static bool IsRequested();
};
