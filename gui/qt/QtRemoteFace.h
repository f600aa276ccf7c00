#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>

class CRemoteLogic;

// The drawn TI-92 of the remote window: its screen and keyboard, laid out
// by the key table and scaled to the widget. Clicks on it and the keys typed
// while it has the focus go to the remote logic; it decides nothing.
class CQtRemoteFace final : public QWidget {
    Q_OBJECT
public:
    CQtRemoteFace(CRemoteLogic& logic, QWidget* parent);

    void SetScreen(const QImage& screen);
    void SetLatched(uint16_t modifiers);
    const QImage& GetScreen() const { return m_screen; }
    // Where the key named `name` is drawn now: its middle, in the widget's
    // pixels (for tests that click it).
    QPoint KeyCentre(const char* name) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // Escape and Enter go to the calculator, not to the dialog; Tab moves
    // on, as in any dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    CRemoteLogic& m_logic;
    QImage m_screen;
    uint16_t m_wLatched = 0;
};
