#include "gui/qt/QtMessageBoxes.h"

#include "gui/qt/InputStringDlg.h"
#include "language/LanguageLibrary.h"
#include "language/OwnResources.h"
#include "text/StringIds.h"
#include "text/TextFormat.h"

#include <QApplication>
#include <QMessageBox>

namespace {

CQtMessageBoxes g_messageBoxes;
IUserMessages* g_pUserMessages = nullptr;

QString Caption()
{
    return QString::fromStdString(LoadOwnString(IDS_SHEET_CAPTION));
}

QString BoxText(const std::string& text)
{
    // Texts keep the system's line breaks ("\r\n"); a box wants plain ones.
    QString shown = QString::fromStdString(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown.trimmed();
}

QWidget* ActiveWindow()
{
    return QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
}

} // namespace

std::string FormatLanguageMessage(int id, const std::string& arg)
{
    return FormatText(LoadLanguageString(id), {arg});
}

void CQtMessageBoxes::ShowMessage(int id, const std::string& arg)
{
    ShowText(FormatLanguageMessage(id, arg));
}

void CQtMessageBoxes::ShowText(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, Caption(), BoxText(text), QMessageBox::Ok, ActiveWindow());
    box.exec();
}

bool CQtMessageBoxes::AskYesNo(int id, const std::string& arg)
{
    // Every question asks whether to give up something held (a file, the
    // calculator's memory): a warning, and Enter keeps it.
    QMessageBox box(QMessageBox::Warning, Caption(), BoxText(FormatLanguageMessage(id, arg)),
                    QMessageBox::Yes | QMessageBox::No, ActiveWindow());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

int CQtMessageBoxes::AskText(int titleId, int promptId, std::string& text)
{
    CInputStringDlg dialog(ActiveWindow());
    dialog.m_strTitle = OwnOrLanguageString(titleId);
    dialog.m_strPrompt = OwnOrLanguageString(promptId);
    dialog.m_strText = text;
    const int result = dialog.DoModal();
    if (result == 1)
        text = dialog.m_strText;
    return result;
}

namespace {

class CForwardingMessages final : public IUserMessages {
public:
    void ShowMessage(int id, const std::string& arg) override { UserMessages().ShowMessage(id, arg); }
    void ShowText(const std::string& text) override { UserMessages().ShowText(text); }
    bool AskYesNo(int id, const std::string& arg) override { return UserMessages().AskYesNo(id, arg); }
    int AskText(int titleId, int promptId, std::string& text) override
    {
        return UserMessages().AskText(titleId, promptId, text);
    }
};

CForwardingMessages g_forwardingMessages;

} // namespace

IUserMessages& CurrentUserMessages()
{
    return g_forwardingMessages;
}

IUserMessages& UserMessages()
{
    return g_pUserMessages ? *g_pUserMessages : g_messageBoxes;
}

void SetUserMessages(IUserMessages* messages)
{
    g_pUserMessages = messages;
}
