#pragma once

#include "gui/pages/LinkPage.h"
#include "screen/ScreenImage.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class IGrabScreenView;
class IPictureWriter;
class IUserMessages;

// What the screen page does, whatever window shows it: fetches the
// calculator's display into the screen buffer, builds the picture shown at
// single or double size, and saves that picture as an image file.
class CGrabScreenLogic : public CLinkPage {
public:
    CGrabScreenLogic(IGrabScreenView& view, IUserMessages& messages, IPictureWriter& writer);
    ~CGrabScreenLogic();

    // The page's window is up: the first picture is the buffer as it
    // stands, at single size whatever the zoom.
    void OnInitDialog();

    // The capture exchange; on success the picture is rebuilt and shown.
    // False, with no message, when it fails or the page has no link.
    bool ReceiveScreen();
    // Rebuilds the shown picture from the screen buffer at the current
    // zoom; message 122 and the old picture kept when it cannot be made.
    void BuildPicture();

    // The capture button: a failed capture, or one without a link, shows
    // message 124.
    void OnCapture();
    // The zoom check box: double size while checked; no link traffic.
    void OnZoom();
    // The save button: asks the window for a file name and saves there.
    void OnSave();
    // Saves the shown picture to `path` in the format its extension names;
    // a save that writes nothing tells the user which file and why.
    bool SavePictureTo(const std::string& path);
    // The remote button: the remote window on the link; without a link it
    // says so, as the directory page's buttons do.
    void OnRemote();

    // The last captured screen (bit set = light), all light until then.
    std::span<uint8_t, SCREEN_BYTES> Screen() { return std::span<uint8_t, SCREEN_BYTES>(m_pScreen.get(), SCREEN_BYTES); }
    // Single (1) or double (2) size, as the zoom check box last said.
    uint8_t GetZoom() const { return m_nZoom; }
    void SetZoom(bool doubleSize) { m_nZoom = doubleSize ? 2 : 1; }
    // The picture shown (and saved): its bits and zoom; no bits before the
    // window first showed one.
    const std::vector<uint8_t>& GetPictureBits() const { return m_picture; }
    unsigned GetPictureZoom() const { return m_nPictureZoom; }

private:
    bool Show(std::vector<uint8_t> bits, unsigned zoom);

    std::unique_ptr<uint8_t[]> m_pScreen;
    uint8_t m_nZoom = 1;

    IGrabScreenView& m_view;
    IUserMessages& m_messages;
    IPictureWriter& m_writer;
    std::vector<uint8_t> m_picture;
    unsigned m_nPictureZoom = 0;
};
