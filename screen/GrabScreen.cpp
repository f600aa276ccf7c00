#include "screen/GrabScreen.h"

#include "link/LinkProgress.h"
#include "screen/ImageExport.h"
#include "screen/PictureBits.h"
#include "screen/SavePictureDialog.h"
#include "screen/ScreenCapture.h"
#include "screen/ScreenPicture.h"
#include "shell/MessageBoxes.h"
#include "shell/Sheet.h"
#include "shell/StringIds.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace {

// The wait cursor for as long as an exchange holds the window.
class CWaitCursor {
public:
    CWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

} // namespace

CGrabScreen::CGrabScreen() : CPropertyPage(IDD), m_pScreen(new uint8_t[SCREEN_BYTES])
{
    std::fill_n(m_pScreen.get(), SCREEN_BYTES, uint8_t{0xFF});
}

CGrabScreen::~CGrabScreen() = default;

CLink* CGrabScreen::GetLink() const
{
    return m_pSheet && m_pSheet->HasLink() ? &m_pSheet->GetLink() : nullptr;
}

bool CGrabScreen::OnInitDialog()
{
    DoDataExchange();
    // The first picture is the buffer as it stands, at single size whatever
    // the zoom.
    std::vector<uint8_t> bits(m_pScreen.get(), m_pScreen.get() + SCREEN_BYTES);
    m_bitmap = MakeScreenPicture(bits, 1);
    ShowPicture();
    return true;
}

void CGrabScreen::DoDataExchange()
{
    m_picture = GetControl<QLabel>("IDC_SCREEN_PICTURE");
    m_checkZoom = GetControl<QCheckBox>("IDC_ZOOM");
    if (auto* capture = GetControl<QPushButton>("IDC_CAPTURE"))
        connect(capture, &QPushButton::clicked, this, &CGrabScreen::OnCapture);
    if (m_checkZoom)
        connect(m_checkZoom, &QCheckBox::clicked, this, &CGrabScreen::OnZoom);
    if (auto* save = GetControl<QPushButton>("IDC_SAVE_PICTURE"))
        connect(save, &QPushButton::clicked, this, &CGrabScreen::OnSave);
}

bool CGrabScreen::ReceiveScreen()
{
    CLink* link = GetLink();
    if (link == nullptr)
        return false;
    bool received = false;
    {
        CWaitCursor wait;
        received = ::ReceiveScreen(*link, Screen());
    }
    if (!received)
        return false;
    BuildPicture();
    return true;
}

void CGrabScreen::BuildPicture()
{
    std::vector<uint8_t> bits;
    QImage picture;
    if (BuildPictureBits(Screen(), m_nZoom, bits))
        picture = MakeScreenPicture(bits, m_nZoom);
    if (picture.isNull()) {
        // The old picture stays.
        UserMessages().ShowMessage(IDS_OUT_OF_MEMORY);
        return;
    }
    m_bitmap = std::move(picture);
    ShowPicture();
}

void CGrabScreen::ShowPicture()
{
    if (m_picture == nullptr)
        return;
    m_picture->setPixmap(QPixmap::fromImage(m_bitmap));
    m_picture->setMinimumSize(m_bitmap.size());
    // At once, not at the next paint: the user sees the new screen while the
    // handler still runs.
    m_picture->repaint();
}

void CGrabScreen::OnCapture()
{
    if (ReceiveScreen())
        return;
    const CLink* link = GetLink();
    UserMessages().ShowMessage(link ? ExchangeFailureMessage(*link, IDS_CAPTURE_FAILED) : IDS_CAPTURE_FAILED);
}

void CGrabScreen::OnZoom()
{
    m_nZoom = (m_checkZoom && m_checkZoom->isChecked()) ? 2 : 1;
    BuildPicture();
}

void CGrabScreen::OnSave()
{
    const QString path = AskPicturePath(this);
    if (!path.isEmpty())
        SavePictureTo(path);
}

bool CGrabScreen::SavePictureTo(const QString& path)
{
    QString reason;
    if (SaveImageAs(m_bitmap, path, reason))
        return true;
    UserMessages().ShowText(QStringLiteral("The picture was not saved as \"%1\".\n%2").arg(path, reason).toStdString());
    return false;
}
