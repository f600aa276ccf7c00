#pragma once

#include "transfer/CalcPackets.h"

#include <QProgressDialog>

#include <string>

// The window that stays up while an exchange runs on the window's thread:
// a busy bar, a line of text and Cancel. The exchange asks its cancel check
// between packets; the check lets the window serve its events.
class CWaitDialog {
public:
    CWaitDialog(QWidget* parent, const std::string& title, const std::string& text);

    void SetText(const std::string& text);
    // True once Cancel was pressed; serves the window's events first.
    CancelCheck MakeCancelCheck();
    bool WasCancelled() const { return m_dialog.wasCanceled(); }

private:
    QProgressDialog m_dialog;
};
