// Draws the sheet as the user sees it on the simulated calculator after a
// press of the directory button and a double click on the folder "main",
// into a PNG file; messages go to the
// standard error stream instead of boxes. Run under a display or xvfb-run,
// with an absolute path (the directory page moves the current directory):
//   xvfb-run -a build/bin/vantrel_screenshot "$PWD/docs/sheet.png" [page-index]

#include "gui/qt/Sheet.h"
#include "gui/qt/tools/SimulatedSheetRun.h"

#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [page-index]\n", argv[0]);
        return 2;
    }
    return RunOnSimulatedSheet(argc, argv, [&](CSheet& sheet, const CPrintedMessages&) {
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
        return sheet.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
    });
}
