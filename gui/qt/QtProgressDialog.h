#pragma once

#include "link/Clock.h"
#include "link/LinkProgress.h"

#include <QPointer>
#include <QString>

#include <cstdint>

class QProgressDialog;
class QWidget;

// The window's side of a long exchange: once it has run for half a second,
// a modal dialog over `parent` says what is being done, the bytes so far
// (of those expected, with a bar; a busy bar when that is unknown), and
// offers Cancel. While it is up, the link's calls let the toolkit handle
// events a few times a second, so the window repaints; being modal, it keeps
// the user from starting another exchange meanwhile. Everything stays on
// the one thread of the exchange.
class CQtProgressDialog final : public ILinkProgress {
public:
    static constexpr uint64_t SHOW_AFTER_MS = 500;
    static constexpr uint64_t UPDATE_EVERY_MS = 50;
    // The bar's steps, whatever the number of bytes.
    static constexpr int BAR_STEPS = 1000;

    explicit CQtProgressDialog(QWidget* parent);
    ~CQtProgressDialog() override;

    CQtProgressDialog(const CQtProgressDialog&) = delete;
    CQtProgressDialog& operator=(const CQtProgressDialog&) = delete;

    void SetClock(IClock& clock) { m_pClock = &clock; }

    void ExchangeStarted(int textId, const std::string& arg, uint64_t expectedBytes) override;
    void BytesMoved(uint64_t bytesDone) override;
    bool IsCancelRequested() override;
    void ExchangeEnded() override;

    // The dialog while it is shown, else null.
    QProgressDialog* GetDialog() const;

private:
    // Shows the dialog when it is due, refreshes it and handles the events
    // that came meanwhile; at most every UPDATE_EVERY_MS.
    void Update();
    void Show();
    QString CountText() const;

    QWidget* m_pParent;
    CSteadyClock m_steadyClock;
    IClock* m_pClock = &m_steadyClock;
    QPointer<QProgressDialog> m_pDialog;
    bool m_bActive = false;
    bool m_bCancelRequested = false;
    bool m_bCursorSet = false;
    QString m_strWhat;
    uint64_t m_nExpected = 0;
    uint64_t m_nDone = 0;
    uint64_t m_nStartMs = 0;
    uint64_t m_nLastUpdateMs = 0;
};
