#pragma once

#include "gui/pages/EndingMessages.h"

#include <QSocketNotifier>

#include <memory>

class CSheet;
class IUserMessages;

// While an object of this class lives, SIGTERM, SIGINT and SIGHUP (a plain
// kill, Ctrl+C in the terminal that started the program, that terminal
// closed) end the window program cleanly instead of at once: the exchange
// under way stops at its next byte as at Cancel, which removes its temporary
// file, no message is shown any more (an open one is closed), and the sheet
// closes, so that the program ends through its usual shutdown. A signal
// repeated meanwhile changes nothing; one that was ignored when the program
// started (nohup) stays ignored.
class CQtEndSignals {
public:
    explicit CQtEndSignals(CSheet& sheet);
    // Puts back the signals' previous handling and the messages.
    ~CQtEndSignals();

    CQtEndSignals(const CQtEndSignals&) = delete;
    CQtEndSignals& operator=(const CQtEndSignals&) = delete;

    // A signal came since the object was made.
    static bool IsRequested();

private:
    // In the toolkit's loop, after the handler noted the signal.
    void OnSignal();

    CSheet& m_sheet;
    IUserMessages& m_previousMessages;
    CEndingMessages m_messages;
    bool m_bClosing = false;
    std::unique_ptr<QSocketNotifier> m_pNotifier;
};
