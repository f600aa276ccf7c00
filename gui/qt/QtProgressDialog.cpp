#include "gui/qt/QtProgressDialog.h"

#include "gui/qt/QtMessageBoxes.h"
#include "language/LanguageLibrary.h"
#include "language/OwnResources.h"
#include "text/StringIds.h"

#include <QApplication>
#include <QLocale>
#include <QProgressDialog>

#include <algorithm>

namespace {

QString LanguageText(int id)
{
    return QString::fromStdString(LoadLanguageString(id));
}

// The language text with its "%s" filled in, one value after the other.
QString FillIn(QString text, std::initializer_list<QString> values)
{
    qsizetype from = 0;
    for (const QString& value : values) {
        const qsizetype at = text.indexOf(QLatin1String("%s"), from);
        if (at < 0)
            break;
        text.replace(at, 2, value);
        from = at + value.size();
    }
    return text;
}

} // namespace

CQtProgressDialog::CQtProgressDialog(QWidget* parent) : m_pParent(parent) {}

CQtProgressDialog::~CQtProgressDialog()
{
    ExchangeEnded();
}

void CQtProgressDialog::ExchangeStarted(int textId, const std::string& arg, uint64_t expectedBytes)
{
    ExchangeEnded();
    m_bActive = true;
    m_bCancelRequested = false;
    m_strWhat = QString::fromStdString(FormatLanguageMessage(textId, arg));
    m_nExpected = expectedBytes;
    m_nDone = 0;
    m_nStartMs = m_nLastUpdateMs = m_pClock->NowMs();
}

void CQtProgressDialog::BytesMoved(uint64_t bytesDone)
{
    m_nDone = bytesDone;
    Update();
}

bool CQtProgressDialog::IsCancelRequested()
{
    Update();
    if (m_pDialog && m_pDialog->wasCanceled())
        m_bCancelRequested = true;
    return m_bCancelRequested;
}

void CQtProgressDialog::ExchangeEnded()
{
    m_bActive = false;
    if (m_bCursorSet) {
        QApplication::restoreOverrideCursor();
        m_bCursorSet = false;
    }
    delete m_pDialog;
}

QProgressDialog* CQtProgressDialog::GetDialog() const
{
    return m_pDialog;
}

QString CQtProgressDialog::CountText() const
{
    const QLocale locale;
    if (m_nExpected == 0)
        return FillIn(LanguageText(IDS_PROGRESS_BYTES), {locale.toString(static_cast<qulonglong>(m_nDone))});
    // The expectation is close, not exact: never more done than expected.
    const uint64_t shown = std::min(m_nDone, m_nExpected);
    return FillIn(LanguageText(IDS_PROGRESS_BYTES_OF), {locale.toString(static_cast<qulonglong>(shown)),
                                                        locale.toString(static_cast<qulonglong>(m_nExpected))});
}

void CQtProgressDialog::Show()
{
    auto* dialog = new QProgressDialog(m_pParent);
    dialog->setWindowTitle(QString::fromStdString(LoadOwnString(IDS_SHEET_CAPTION)));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setCancelButtonText(LanguageText(IDS_PROGRESS_CANCEL));
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumDuration(0);
    dialog->setMinimumWidth(360);
    // A busy bar when the end is not known.
    dialog->setRange(0, m_nExpected == 0 ? 0 : BAR_STEPS);
    m_pDialog = dialog;
    // The exchange may have set the wait cursor; the Cancel button should
    // not look unavailable.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    m_bCursorSet = true;
    dialog->show();
}

void CQtProgressDialog::Update()
{
    if (!m_bActive)
        return;
    const uint64_t now = m_pClock->NowMs();
    if (now - m_nStartMs < SHOW_AFTER_MS || now - m_nLastUpdateMs < UPDATE_EVERY_MS)
        return;
    m_nLastUpdateMs = now;
    if (!m_pDialog)
        Show();
    m_pDialog->setLabelText(m_strWhat + QLatin1Char('\n') + CountText());
    if (m_nExpected > 0)
        m_pDialog->setValue(static_cast<int>(std::min(m_nDone, m_nExpected) * BAR_STEPS / m_nExpected));
    QCoreApplication::processEvents();
}
