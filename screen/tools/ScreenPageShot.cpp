// Pictures of the screen page on the simulated calculator after a capture,
// at single and at double size, taken from the display as the user sees
// them; messages go to the standard error stream instead of boxes. Run under
// a display or xvfb-run:
//   xvfb-run -a build/bin/vantrel_screen_shot OUTPUT-PREFIX
// writes OUTPUT-PREFIX-zoom1.png and OUTPUT-PREFIX-zoom2.png.

#include "screen/GrabScreen.h"
#include "shell/CommandLine.h"
#include "shell/LinkApp.h"
#include "shell/MessageBoxes.h"
#include "shell/Sheet.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

class CPrintedMessages final : public IUserMessages {
public:
    void ShowMessage(int id, const std::string& arg) override
    {
        std::fprintf(stderr, "message %d: %s\n", id, FormatLanguageMessage(id, arg).c_str());
        ++m_nShown;
    }
    void ShowText(const std::string& text) override
    {
        std::fprintf(stderr, "message: %s\n", text.c_str());
        ++m_nShown;
    }
    bool AskYesNo(int id, const std::string& arg) override
    {
        ShowMessage(id, arg);
        return false;
    }
    int AskText(int, int, std::string&) override { return 2; }
    int m_nShown = 0;
};

void Settle(int milliseconds)
{
    for (int i = 0; i < milliseconds / 10; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

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
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication application(argc, argv);
    CPrintedMessages messages;
    SetUserMessages(&messages);
    CLinkApp app;
    int status = 1;
    {
        CSheet sheet;
        if (sheet.IsLanguageLoaded()) {
            CCommandLine commandLine;
            commandLine.bSimulate = true;
            CLinkApp::PrepareSheet(sheet, commandLine);
            sheet.Create();
            sheet.show();
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
            status = saved && messages.m_nShown == 0 ? 0 : 1;
            sheet.DestroyWindow();
        }
    }
    SetUserMessages(nullptr);
    return status;
}
