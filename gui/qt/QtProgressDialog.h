#pragma once

#include "gui/pages/ProgressLogic.h"
#include "gui/pages/ProgressView.h"

#include <QPointer>

class QProgressDialog;
class QWidget;

// The progress window on Linux: a modal QProgressDialog over `parent`,
// drawing what its CProgressLogic says. While it is up the logic lets the
// toolkit handle events a few times a second, so the window repaints; being
// modal, it keeps the user from starting another exchange meanwhile.
class CQtProgressDialog final : public IProgressView {
public:
    explicit CQtProgressDialog(QWidget* parent);
    ~CQtProgressDialog() override;

    CQtProgressDialog(const CQtProgressDialog&) = delete;
    CQtProgressDialog& operator=(const CQtProgressDialog&) = delete;

    // What the link reports to.
    CProgressLogic& Logic() { return m_logic; }
    // The dialog while it is shown, else null.
    QProgressDialog* GetDialog() const;

    void Open() override;
    void ShowTexts(const std::string& what, const std::string& count) override;
    void ShowBar(int steps) override;
    void ShowBusyBar() override;
    bool PumpEvents() override;
    void Close() override;

private:
    QWidget* m_pParent;
    QPointer<QProgressDialog> m_pDialog;
    bool m_bCursorSet = false;
    CProgressLogic m_logic{*this};
};
