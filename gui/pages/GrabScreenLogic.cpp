#include "gui/pages/GrabScreenLogic.h"

#include "gui/pages/GrabScreenView.h"
#include "link/LinkProgress.h"
#include "screen/PictureBits.h"
#include "screen/PictureFormat.h"
#include "screen/PictureTexts.h"
#include "screen/PictureWriter.h"
#include "screen/ScreenCapture.h"
#include "text/DisplayText.h"
#include "text/StringIds.h"
#include "text/UserMessages.h"

#include <algorithm>

CGrabScreenLogic::CGrabScreenLogic(IGrabScreenView& view, IUserMessages& messages, IPictureWriter& writer)
    : m_pScreen(new uint8_t[SCREEN_BYTES]), m_view(view), m_messages(messages), m_writer(writer)
{
    std::fill_n(m_pScreen.get(), SCREEN_BYTES, uint8_t{0xFF});
}

CGrabScreenLogic::~CGrabScreenLogic() = default;

void CGrabScreenLogic::OnInitDialog()
{
    Show(std::vector<uint8_t>(m_pScreen.get(), m_pScreen.get() + SCREEN_BYTES), 1);
}

bool CGrabScreenLogic::Show(std::vector<uint8_t> bits, unsigned zoom)
{
    if (!m_view.ShowPicture(bits, zoom))
        return false;
    m_picture = std::move(bits);
    m_nPictureZoom = zoom;
    return true;
}

bool CGrabScreenLogic::ReceiveScreen()
{
    CLink* link = GetLink();
    if (link == nullptr)
        return false;
    m_view.ShowBusy(true);
    const bool received = ::ReceiveScreen(*link, Screen());
    m_view.ShowBusy(false);
    if (!received)
        return false;
    BuildPicture();
    return true;
}

void CGrabScreenLogic::BuildPicture()
{
    std::vector<uint8_t> bits;
    if (!BuildPictureBits(Screen(), m_nZoom, bits) || !Show(std::move(bits), m_nZoom))
        m_messages.ShowMessage(IDS_OUT_OF_MEMORY);
}

void CGrabScreenLogic::OnCapture()
{
    if (ReceiveScreen())
        return;
    const CLink* link = GetLink();
    m_messages.ShowMessage(link != nullptr ? ExchangeFailureMessage(*link, IDS_CAPTURE_FAILED) : IDS_CAPTURE_FAILED);
}

void CGrabScreenLogic::OnZoom()
{
    m_nZoom = m_view.IsZoomChecked() ? 2 : 1;
    BuildPicture();
}

void CGrabScreenLogic::OnSave()
{
    const std::string path = m_view.AskPicturePath();
    if (!path.empty())
        SavePictureTo(path);
}

bool CGrabScreenLogic::SavePictureTo(const std::string& path)
{
    std::string reason;
    const std::vector<std::string> formats = m_writer.GetFormats();
    const std::string format = FindPictureFormat(path, formats);
    if (m_picture.empty())
        reason = NoPictureText();
    else if (format.empty())
        reason = UnknownPictureFormatText(formats);
    else if (m_writer.WritePicture(m_picture, m_nPictureZoom, path, format, reason))
        return true;
    m_messages.ShowText(PictureNotSavedText(FileNameToDisplay(path), reason));
    return false;
}

void CGrabScreenLogic::OnRemote()
{
    CLink* link = GetLink();
    if (link == nullptr) {
        m_messages.ShowMessage(IDS_PORT_NOT_OPENED);
        return;
    }
    if (!m_view.ShowRemoteWindow(*link))
        m_messages.ShowMessage(IDS_CANNOT_CREATE_WINDOW);
}
