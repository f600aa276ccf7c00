#include "gui/qt/QtProgressDialog.h"

#include "language/LanguageLibrary.h"
#include "language/OwnResources.h"
#include "text/StringIds.h"

#include <QApplication>
#include <QProgressDialog>

CQtProgressDialog::CQtProgressDialog(QWidget* parent) : m_pParent(parent) {}

CQtProgressDialog::~CQtProgressDialog()
{
    Close();
}

QProgressDialog* CQtProgressDialog::GetDialog() const
{
    return m_pDialog;
}

void CQtProgressDialog::Open()
{
    auto* dialog = new QProgressDialog(m_pParent);
    dialog->setWindowTitle(QString::fromStdString(LoadOwnString(IDS_SHEET_CAPTION)));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setCancelButtonText(QString::fromStdString(LoadLanguageString(IDS_PROGRESS_CANCEL)));
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumDuration(0);
    dialog->setMinimumWidth(360);
    m_pDialog = dialog;
    // The exchange may have set the wait cursor; the Cancel button should
    // not look unavailable.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    m_bCursorSet = true;
    dialog->show();
}

void CQtProgressDialog::ShowTexts(const std::string& what, const std::string& count)
{
    if (m_pDialog)
        m_pDialog->setLabelText(QString::fromStdString(what + '\n' + count));
}

void CQtProgressDialog::ShowBar(int steps)
{
    if (!m_pDialog)
        return;
    m_pDialog->setRange(0, BAR_STEPS);
    m_pDialog->setValue(steps);
}

void CQtProgressDialog::ShowBusyBar()
{
    if (m_pDialog)
        m_pDialog->setRange(0, 0);
}

bool CQtProgressDialog::PumpEvents()
{
    QCoreApplication::processEvents();
    return m_pDialog && m_pDialog->wasCanceled();
}

void CQtProgressDialog::Close()
{
    if (m_bCursorSet) {
        QApplication::restoreOverrideCursor();
        m_bCursorSet = false;
    }
    delete m_pDialog;
}
