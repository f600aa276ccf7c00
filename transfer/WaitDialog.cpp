#include "transfer/WaitDialog.h"

#include <QCoreApplication>

CWaitDialog::CWaitDialog(QWidget* parent, const std::string& title, const std::string& text)
    : m_dialog(QString::fromStdString(text), QProgressDialog::tr("Cancel"), 0, 0, parent)
{
    m_dialog.setWindowTitle(QString::fromStdString(title));
    m_dialog.setWindowModality(Qt::WindowModal);
    m_dialog.setMinimumDuration(0);
    m_dialog.setAutoClose(false);
    m_dialog.setAutoReset(false);
    m_dialog.show();
    QCoreApplication::processEvents();
}

void CWaitDialog::SetText(const std::string& text)
{
    m_dialog.setLabelText(QString::fromStdString(text));
}

CancelCheck CWaitDialog::MakeCancelCheck()
{
    return [this] {
        QCoreApplication::processEvents();
        return m_dialog.wasCanceled();
    };
}
