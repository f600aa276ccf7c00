// Draws the sheet as the user sees it on the simulated calculator after a
// press of the directory button and a double click on the folder "main",
// into a PNG file; messages go to the
// standard error stream instead of boxes. Run under a display or xvfb-run:
//   xvfb-run -a build/bin/vantrel_screenshot docs/sheet.png [page-index]

#include "shell/CommandLine.h"
#include "shell/LinkApp.h"
#include "shell/MessageBoxes.h"
#include "shell/Sheet.h"

#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>

#include <cstdio>

namespace {

class CPrintedMessages final : public IUserMessages {
public:
    void ShowMessage(int id, const std::string& arg) override
    {
        std::fprintf(stderr, "message %d: %s\n", id, FormatLanguageMessage(id, arg).c_str());
    }
    void ShowText(const std::string& text) override { std::fprintf(stderr, "message: %s\n", text.c_str()); }
    bool AskYesNo(int id, const std::string& arg) override
    {
        ShowMessage(id, arg);
        return false;
    }
    int AskText(int, int, std::string&) override { return 2; }
};

void Settle(int milliseconds)
{
    for (int i = 0; i < milliseconds / 10; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [page-index]\n", argv[0]);
        return 2;
    }
    // Fresh settings, so the picture shows the defaults and nothing is changed.
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
            Settle(300);
            if (auto* directory = sheet.m_pageDirList.GetControl<QPushButton>("IDC_DIRECTORY"))
                directory->click();
            Settle(100);
            // Open the folder "main", as a double click would.
            if (auto* folders = sheet.m_pageDirList.GetControl<QTreeWidget>("IDC_FOLDER_LIST")) {
                const QList<QTreeWidgetItem*> rows = folders->findItems(QStringLiteral("main"), Qt::MatchExactly);
                if (!rows.isEmpty()) {
                    folders->setCurrentItem(rows.front());
                    emit folders->itemActivated(rows.front(), 0);
                }
            }
            if (argc > 2)
                sheet.GetTabControl()->setCurrentIndex(QString::fromLocal8Bit(argv[2]).toInt());
            Settle(500);
            status = sheet.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
            sheet.DestroyWindow();
        }
    }
    SetUserMessages(nullptr);
    return status;
}
