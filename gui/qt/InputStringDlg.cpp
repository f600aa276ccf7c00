#include "gui/qt/InputStringDlg.h"

#include "gui/qt/QtTemplateLoader.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace {

constexpr int ID_OK = 1;
constexpr int ID_CANCEL = 2;

QString PromptText(const std::string& prompt)
{
    // The prompt keeps the system's line breaks; a label wants plain ones.
    QString text = QString::fromStdString(prompt);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

} // namespace

int CInputStringDlg::DoModal()
{
    std::unique_ptr<QWidget> loaded(LoadOwnTemplate(IDD, m_pParent));
    auto* dialog = qobject_cast<QDialog*>(loaded.get());
    if (!dialog || !qobject_cast<QLabel*>(FindControl(dialog, IDC_PROMPT)) ||
        !qobject_cast<QLineEdit*>(FindControl(dialog, IDC_INPUT)) ||
        !qobject_cast<QPushButton*>(FindControl(dialog, ID_OK)) ||
        !qobject_cast<QPushButton*>(FindControl(dialog, ID_CANCEL)))
        return -1;
    if (!OnNcCreate(*dialog))
        return -1;

    // A caption without a close box, above every other window, and holding
    // the whole program until it is answered.
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowStaysOnTopHint);
    dialog->setWindowModality(Qt::ApplicationModal);

    auto* ok = qobject_cast<QPushButton*>(FindControl(dialog, ID_OK));
    auto* cancel = qobject_cast<QPushButton*>(FindControl(dialog, ID_CANCEL));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    cancel->setAutoDefault(false);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);

    DoDataExchange(*dialog, false);
    FindControl(dialog, IDC_INPUT)->setFocus();
    if (dialog->exec() != QDialog::Accepted)
        return ID_CANCEL;
    DoDataExchange(*dialog, true);
    return ID_OK;
}

void CInputStringDlg::DoDataExchange(QDialog& dialog, bool bSaveAndValidate)
{
    auto* prompt = qobject_cast<QLabel*>(FindControl(&dialog, IDC_PROMPT));
    auto* input = qobject_cast<QLineEdit*>(FindControl(&dialog, IDC_INPUT));
    // The prompt cannot be edited: reading it back would only trade the
    // caller's line breaks for the label's.
    if (bSaveAndValidate) {
        m_strText = input->text().toStdString();
    } else {
        prompt->setText(PromptText(m_strPrompt));
        input->setText(QString::fromStdString(m_strText));
    }
}

bool CInputStringDlg::OnNcCreate(QDialog& dialog)
{
    dialog.setWindowTitle(QString::fromStdString(m_strTitle));
    return true;
}
