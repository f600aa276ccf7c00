// Pictures of the screen page on the simulated calculator after a capture,
// at single and at double size, taken from the display as the user sees
// them; messages go to the standard error stream instead of boxes. Run under
// a display or xvfb-run:
//   xvfb-run -a build/bin/vantrel_screen_shot OUTPUT-PREFIX
// writes OUTPUT-PREFIX-zoom1.png and OUTPUT-PREFIX-zoom2.png.

#include "gui/qt/GrabScreen.h"
#include "gui/qt/Sheet.h"
#include "gui/qt/tools/SimulatedSheetRun.h"

#include <QAbstractButton>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>

#include <cstdio>

namespace {

// The window as the display shows it; drawn by the toolkit where the
// platform cannot read the screen back.
QPixmap Shoot(QWidget& window)
{
    QPixmap shot;
    if (QScreen* screen = window.screen())
        shot = screen->grabWindow(window.winId());
    return shot.isNull() ? window.grab() : shot;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-PREFIX\n", argv[0]);
        return 2;
    }
    return RunOnSimulatedSheet(argc, argv, [&](CSheet& sheet, const CPrintedMessages& messages) {
        CGrabScreen& page = sheet.m_pageGrabScreen;
        sheet.GetTabControl()->setCurrentWidget(&page);
        Settle(300);
        page.GetControl<QAbstractButton>("IDC_CAPTURE")->click();
        Settle(300);
        const QString prefix = QString::fromLocal8Bit(argv[1]);
        bool saved = Shoot(sheet).save(prefix + QStringLiteral("-zoom1.png"));
        page.GetControl<QAbstractButton>("IDC_ZOOM")->click();
        sheet.adjustSize();
        Settle(500);
        saved = Shoot(sheet).save(prefix + QStringLiteral("-zoom2.png")) && saved;
        return saved && messages.GetShownCount() == 0 ? 0 : 1;
    });
}
