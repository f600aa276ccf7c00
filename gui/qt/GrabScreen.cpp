#include "gui/qt/GrabScreen.h"

#include "gui/qt/QtMessageBoxes.h"
#include "gui/qt/QtRemoteWindow.h"
#include "gui/qt/QtSavePictureDialog.h"
#include "gui/qt/QtScreenPicture.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

CGrabScreen::CGrabScreen() : CQtPropertyPage(IDD), m_logic(*this, CurrentUserMessages(), m_writer)
{
}

CGrabScreen::~CGrabScreen() = default;

bool CGrabScreen::OnInitDialog()
{
    DoDataExchange();
    m_logic.OnInitDialog();
    return true;
}

void CGrabScreen::DoDataExchange()
{
    m_picture = GetControl<QLabel>("IDC_SCREEN_PICTURE");
    m_checkZoom = GetControl<QCheckBox>("IDC_ZOOM");
    if (auto* capture = GetControl<QPushButton>("IDC_CAPTURE"))
        connect(capture, &QPushButton::clicked, this, [this] { m_logic.OnCapture(); });
    if (m_checkZoom)
        connect(m_checkZoom, &QCheckBox::clicked, this, [this] { m_logic.OnZoom(); });
    if (auto* save = GetControl<QPushButton>("IDC_SAVE_PICTURE"))
        connect(save, &QPushButton::clicked, this, [this] { m_logic.OnSave(); });
    if (auto* remote = GetControl<QPushButton>("IDC_REMOTE"))
        connect(remote, &QPushButton::clicked, this, [this] { m_logic.OnRemote(); });
}

bool CGrabScreen::ShowPicture(const std::vector<uint8_t>& bits, unsigned zoom)
{
    QImage picture = MakeScreenPicture(bits, zoom);
    if (picture.isNull())
        return false;
    m_bitmap = std::move(picture);
    if (m_picture != nullptr) {
        m_picture->setPixmap(QPixmap::fromImage(m_bitmap));
        m_picture->setMinimumSize(m_bitmap.size());
        // At once, not at the next paint: the user sees the new screen while
        // the handler still runs.
        m_picture->repaint();
    }
    return true;
}

bool CGrabScreen::IsZoomChecked() const
{
    return m_checkZoom != nullptr && m_checkZoom->isChecked();
}

std::string CGrabScreen::AskPicturePath()
{
    return QFile::encodeName(::AskPicturePath(this)).toStdString();
}

void CGrabScreen::ShowBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool CGrabScreen::ShowRemoteWindow(CLink& link)
{
    CQtRemoteWindow remote(window());
    return remote.Run(link);
}
