#pragma once

#include "gui/pages/RemoteLogic.h"
#include "gui/pages/RemoteView.h"

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QTimer>

class CLink;
class CQtRemoteFace;
class QLabel;
class QWidget;

// The remote window on Linux: the language library's template IDD_REMOTE
// as a modal dialog over the program's window, its picture control taken
// by the drawn calculator (CQtRemoteFace), its labels showing the frame
// rate, the keys waiting and what went wrong. What it does is
// CRemoteLogic's; the window only draws and passes clicks and keys on.
class CQtRemoteWindow final : public QObject, private IRemoteView {
    Q_OBJECT
public:
    explicit CQtRemoteWindow(QWidget* parent);
    ~CQtRemoteWindow() override;

    // Shows the window on `link`, modal, and returns at once; false when
    // the template cannot be made into a window.
    bool Open(CLink& link);
    // Open, then runs the window until it is closed.
    bool Run(CLink& link);

    CRemoteLogic& Logic() { return m_logic; }
    QDialog* GetDialog() const { return m_pDialog; }
    CQtRemoteFace* GetFace() const { return m_pFace; }
    QLabel* GetLabel(const char* name) const;

protected:
    // The window's close box and the Close button ask the logic first.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowScreen(const std::vector<uint8_t>& bits, unsigned zoom) override;
    void ShowModifiers(uint16_t modifiers) override;
    void ShowStatus(const std::string& rate, const std::string& queue, const std::string& problem) override;
    void ScheduleTick(uint64_t ms) override;
    void PumpEvents() override;
    bool IsHidden() const override;
    void EndWindow() override;

    QWidget* m_pParent;
    QPointer<QDialog> m_pDialog;
    // What the event filter watches, as the object it was made as.
    QObject* m_pDialogObject = nullptr;
    CQtRemoteFace* m_pFace = nullptr;
    QTimer m_timer;
    CRemoteLogic m_logic{*this};
};
