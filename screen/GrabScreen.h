#pragma once

#include "screen/ScreenImage.h"
#include "shell/PropertyPage.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <memory>
#include <span>

class CLink;
class CSheet;
class QCheckBox;
class QLabel;

// The screen page: fetches the calculator's display, shows it at single or
// double size and saves it as an image. Its template (108) comes from the
// language library.
class CGrabScreen : public CPropertyPage {
    Q_OBJECT
public:
    static constexpr int IDD = 108;

    CGrabScreen();
    ~CGrabScreen() override;

    // The sheet whose link operations the page uses; set when the port has
    // opened, so a page without it has no link.
    void SetSheet(CSheet* pSheet) { m_pSheet = pSheet; }
    // The link, or null while the page has none.
    CLink* GetLink() const;

    // The capture exchange; on success the picture is rebuilt and shown.
    // False, with no message, when it fails or the page has no link.
    bool ReceiveScreen();
    // Rebuilds the shown picture from the screen buffer at the current zoom.
    void BuildPicture();

    // The capture button: a failed capture, or one without a link, shows
    // message 124.
    void OnCapture();
    // The zoom check box: double size while checked; no link traffic.
    void OnZoom();
    // The save button: asks for a file name and saves the shown picture.
    void OnSave();
    // Saves the shown picture to `path` in the format its extension names;
    // a save that writes nothing tells the user which file and why.
    bool SavePictureTo(const QString& path);

    std::span<uint8_t, SCREEN_BYTES> Screen() { return std::span<uint8_t, SCREEN_BYTES>(m_pScreen.get(), SCREEN_BYTES); }
    // The picture the page shows (and saves).
    const QImage& GetPicture() const { return m_bitmap; }

    CSheet* m_pSheet = nullptr;
    // The last captured screen (bit set = light), all light until then.
    std::unique_ptr<uint8_t[]> m_pScreen;
    uint8_t m_nZoom = 1;

protected:
    bool OnInitDialog() override;

private:
    void DoDataExchange();
    void ShowPicture();

    QLabel* m_picture = nullptr;
    QCheckBox* m_checkZoom = nullptr;
    QImage m_bitmap;
};
