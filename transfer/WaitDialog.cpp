#include "transfer/WaitDialog.h"

#include "shell/MessageBoxes.h"

#include <QCoreApplication>

CWaitDialog::CWaitDialog(QWidget* parent, const std::string& title, const std::string& text)
    : m_dialog(QString::fromStdString(text), QProgressDialog::tr("Cancel"), 0, 0, parent),
      m_text(QString::fromStdString(text))
{
    m_dialog.setWindowTitle(QString::fromStdString(title));
    m_dialog.setWindowModality(Qt::WindowModal);
    m_dialog.setMinimumDuration(0);
    m_dialog.setAutoClose(false);
    m_dialog.setAutoReset(false);
    m_dialog.show();
    QCoreApplication::processEvents();
}

void CWaitDialog::AddLine(int id, const std::string& arg)
{
    m_text += QLatin1Char('\n') + QString::fromStdString(FormatLanguageMessage(id, arg));
    m_dialog.setLabelText(m_text);
}

bool CWaitDialog::IsCancelled()
{
    QCoreApplication::processEvents();
    return m_dialog.wasCanceled();
}
