#include "gui/qt/QtRemoteWindow.h"

#include "gui/qt/QtRemoteFace.h"
#include "gui/qt/QtScreenPicture.h"
#include "gui/qt/QtTemplateLoader.h"
#include "language/LanguageLibrary.h"
#include "resources/ControlIds.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

CQtRemoteWindow::CQtRemoteWindow(QWidget* parent) : m_pParent(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_logic.OnTick(); });
}

CQtRemoteWindow::~CQtRemoteWindow()
{
    m_timer.stop();
    if (m_pDialog) {
        // It tells of its own end through the filter otherwise.
        m_pDialog->removeEventFilter(this);
        delete m_pDialog;
    }
}

bool CQtRemoteWindow::Open(CLink& link)
{
    size_t size = 0;
    const void* tmpl = LoadLanguageResource(IDD_REMOTE, RT_DIALOG, &size);
    auto* dialog = qobject_cast<QDialog*>(LoadTemplate(tmpl, size, m_pParent));
    auto* picture = dialog != nullptr ? FindControl(dialog, "IDC_REMOTE_FACE") : nullptr;
    if (picture == nullptr) {
        delete dialog;
        return false;
    }
    m_pDialog = dialog;
    m_pDialogObject = dialog;
    // A window of its own, which can be minimised to pause the screen.
    dialog->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->installEventFilter(this);
    // The drawn calculator takes the picture control's place.
    m_pFace = new CQtRemoteFace(m_logic, dialog);
    m_pFace->setGeometry(picture->geometry());
    picture->hide();
    if (auto* close = qobject_cast<QPushButton*>(FindControl(dialog, "IDCANCEL"))) {
        close->setAutoDefault(false);
        connect(close, &QPushButton::clicked, dialog, &QDialog::close);
    }
    dialog->show();
    m_pFace->setFocus();
    m_logic.OnOpen(&link);
    return true;
}

bool CQtRemoteWindow::Run(CLink& link)
{
    if (!Open(link))
        return false;
    m_pDialog->exec();
    m_timer.stop();
    return true;
}

QLabel* CQtRemoteWindow::GetLabel(const char* name) const
{
    return qobject_cast<QLabel*>(FindControl(m_pDialog, name));
}

bool CQtRemoteWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Only the pointer is compared: a dialog being destroyed is no longer one.
    if (event->type() != QEvent::Close || watched != static_cast<QObject*>(m_pDialogObject))
        return false;
    if (m_logic.OnClose()) {
        m_timer.stop();
        return false;
    }
    // A screen is being read: out of sight now, closed once it is in.
    event->ignore();
    m_pDialog->hide();
    return true;
}

void CQtRemoteWindow::ShowScreen(const std::vector<uint8_t>& bits, unsigned zoom)
{
    if (m_pFace != nullptr)
        m_pFace->SetScreen(MakeScreenPicture(bits, zoom));
}

void CQtRemoteWindow::ShowModifiers(uint16_t modifiers)
{
    if (m_pFace != nullptr)
        m_pFace->SetLatched(modifiers);
}

void CQtRemoteWindow::ShowStatus(const std::string& rate, const std::string& queue, const std::string& problem)
{
    const std::pair<const char*, const std::string*> lines[] = {
        {"IDC_REMOTE_RATE", &rate}, {"IDC_REMOTE_QUEUE", &queue}, {"IDC_REMOTE_PROBLEM", &problem}};
    for (const auto& [name, text] : lines) {
        QString shown = QString::fromStdString(*text);
        shown.replace(QLatin1String("\r\n"), QLatin1String(" "));
        if (QLabel* label = GetLabel(name))
            label->setText(shown);
    }
}

void CQtRemoteWindow::ScheduleTick(uint64_t ms)
{
    m_timer.start(static_cast<int>(ms));
}

void CQtRemoteWindow::PumpEvents()
{
    QCoreApplication::processEvents();
}

bool CQtRemoteWindow::IsHidden() const
{
    return m_pDialog == nullptr || !m_pDialog->isVisible() || m_pDialog->isMinimized();
}

void CQtRemoteWindow::EndWindow()
{
    m_timer.stop();
    if (m_pDialog)
        m_pDialog->done(QDialog::Rejected);
}
