#include "gui/qt/QtEndSignals.h"

#include "gui/qt/QtMessageBoxes.h"
#include "gui/qt/Sheet.h"

#include <QApplication>
#include <QProgressDialog>
#include <QWidget>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_nRequested = 0;
// The handler wakes the toolkit's loop through this pipe: it may do no more
// than set a flag and write a byte.
int g_hWake[2] = {-1, -1};

constexpr int SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};
constexpr int SIGNAL_COUNT = sizeof SIGNALS / sizeof SIGNALS[0];
struct sigaction g_previous[SIGNAL_COUNT];

// How many open dialogs are closed, at most, on the way out.
constexpr int MAX_MODALS = 16;

void NoteSignal(int)
{
    g_nRequested = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(g_hWake[1], &byte, 1);
}

} // namespace

CQtEndSignals::CQtEndSignals(CSheet& sheet)
    : m_sheet(sheet), m_previousMessages(UserMessages()), m_messages(m_previousMessages, IsRequested)
{
    g_nRequested = 0;
    SetUserMessages(&m_messages);
    if (pipe2(g_hWake, O_CLOEXEC | O_NONBLOCK) != 0)
        g_hWake[0] = g_hWake[1] = -1;
    else {
        m_pNotifier = std::make_unique<QSocketNotifier>(g_hWake[0], QSocketNotifier::Read);
        QObject::connect(m_pNotifier.get(), &QSocketNotifier::activated, [this] { OnSignal(); });
    }
    // Every byte of an exchange asks whether to stop.
    m_sheet.Logic().SetEndCheck(IsRequested);
    struct sigaction action = {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < SIGNAL_COUNT; ++i) {
        sigaction(SIGNALS[i], nullptr, &g_previous[i]);
        if (g_previous[i].sa_handler != SIG_IGN && g_hWake[1] >= 0)
            sigaction(SIGNALS[i], &action, nullptr);
    }
}

CQtEndSignals::~CQtEndSignals()
{
    for (int i = 0; i < SIGNAL_COUNT; ++i)
        sigaction(SIGNALS[i], &g_previous[i], nullptr);
    m_sheet.Logic().SetEndCheck(nullptr);
    m_pNotifier.reset();
    for (int& end : g_hWake) {
        if (end >= 0)
            close(end);
        end = -1;
    }
    SetUserMessages(&m_previousMessages);
}

bool CQtEndSignals::IsRequested()
{
    return g_nRequested != 0;
}

void CQtEndSignals::OnSignal()
{
    char bytes[16];
    while (read(g_hWake[0], bytes, sizeof bytes) > 0) {
    }
    if (m_bClosing)
        return;
    m_bClosing = true;
    m_sheet.Logic().RequestEnd();
    // A message or a file dialog waiting for the user would keep the
    // program up; an exchange under way ends at its next byte by itself.
    for (int i = 0; i < MAX_MODALS; ++i) {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == &m_sheet || modal == m_sheet.GetProgress().GetDialog())
            break;
        modal->close();
    }
    m_sheet.reject();
}
