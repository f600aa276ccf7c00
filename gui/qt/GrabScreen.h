#pragma once

#include "gui/pages/GrabScreenLogic.h"
#include "gui/pages/GrabScreenView.h"
#include "gui/pages/SheetLogic.h"
#include "gui/qt/QtPictureWriter.h"
#include "gui/qt/QtPropertyPage.h"

#include <QImage>

class QCheckBox;
class QLabel;

// The screen page's window: the picture control, the capture button, the
// zoom check box and the save button. Its template (IDD_GRABSCREEN) comes from the
// language library. It draws what its logic says, passes the user's actions
// on to it, and shows the wait cursor while a capture holds the window.
class CGrabScreen : public CQtPropertyPage, private IGrabScreenView {
    Q_OBJECT
public:
    static constexpr int IDD = IDD_GRABSCREEN;

    CGrabScreen();
    ~CGrabScreen() override;

    CGrabScreenLogic& Logic() { return m_logic; }
    // The picture the page shows.
    const QImage& GetPicture() const { return m_bitmap; }

protected:
    bool OnInitDialog() override;

private:
    bool ShowPicture(const std::vector<uint8_t>& bits, unsigned zoom) override;
    bool IsZoomChecked() const override;
    std::string AskPicturePath() override;
    void ShowBusy(bool busy) override;
    bool ShowRemoteWindow(CLink& link) override;

    void DoDataExchange();

    QLabel* m_picture = nullptr;
    QCheckBox* m_checkZoom = nullptr;
    QImage m_bitmap;
    CQtPictureWriter m_writer;
    CGrabScreenLogic m_logic;
};
