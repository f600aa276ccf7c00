#pragma once

#include "link/WaitWindow.h"

#include <QProgressDialog>

#include <string>

// The wait window: a busy bar, the text and Cancel. Asked whether it was
// cancelled, it serves the window's events first, so that it repaints and
// sees the press.
class CWaitDialog final : public IWaitWindow {
public:
    CWaitDialog(QWidget* parent, const std::string& title, const std::string& text);

    void AddLine(int id, const std::string& arg) override;
    bool IsCancelled() override;

private:
    QProgressDialog m_dialog;
    QString m_text;
};
