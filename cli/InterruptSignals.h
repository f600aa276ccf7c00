#pragma once

// While an object of this class lives, SIGINT and SIGTERM (Ctrl+C, a plain
// kill) do not end the program at once: they are noted, the exchange under
// way stops at its next byte and the program winds down, removing its
// temporary files, with status 130. A second signal ends it at once. A
// question waiting on the terminal is not resumed after the signal. On
// Windows the same holds for Ctrl+C and Ctrl+Break in the console.
class CInterruptSignals {
public:
    CInterruptSignals();
    // Puts back what was there before.
    ~CInterruptSignals();

    CInterruptSignals(const CInterruptSignals&) = delete;
    CInterruptSignals& operator=(const CInterruptSignals&) = delete;

    // A signal came since the object was made.
    static bool IsRequested();
};
