// A picture of the progress dialog half-way through a receive on a slow
// simulated calculator, taken from the display with the sheet behind it,
// then the dialog's Cancel pressed; messages go to the standard error
// stream instead of boxes. Run under a display or xvfb-run:
//   xvfb-run -a build/bin/vantrel_progressshot docs/progress.png

#include "gui/qt/QtProgressDialog.h"
#include "gui/qt/Sheet.h"
#include "gui/qt/tools/SimulatedSheetRun.h"
#include "sim/BuiltInCalculator.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QPixmap>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <vector>

namespace {

constexpr uint32_t BYTES_PER_SECOND = 4000;
constexpr size_t VARIABLE_BYTES = 12000;
constexpr int SHOOT_AFTER_MS = 1500;

// The sheet and the dialog over it, as the display shows them.
QPixmap Shoot(QWidget& sheet)
{
    const QRect area = sheet.frameGeometry();
    QScreen* screen = QGuiApplication::primaryScreen();
    QPixmap shot = screen ? screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()) : QPixmap();
    return shot.isNull() ? sheet.grab() : shot;
}

void SelectRow(QTreeWidget* list, const char* name, bool activate)
{
    const QList<QTreeWidgetItem*> rows = list->findItems(QString::fromLatin1(name), Qt::MatchExactly);
    if (rows.isEmpty())
        return;
    list->setCurrentItem(rows.front());
    rows.front()->setSelected(true);
    if (activate)
        emit list->itemActivated(rows.front(), 0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    // The receive goes to a scratch home folder, whatever happens.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    return RunOnSimulatedSheet(argc, argv, [&](CSheet& sheet, const CPrintedMessages&) {
        CBuiltInCalculator& simulated = *sheet.GetSimulatedCalculator();
        std::vector<uint8_t> contents(VARIABLE_BYTES);
        for (size_t i = 0; i < contents.size(); ++i)
            contents[i] = static_cast<uint8_t>('a' + i % 26);
        simulated.GetCalculator().AddVariable("main", "big", 0x0C, 0, contents);
        Settle(300);
        CDirList& page = sheet.m_pageDirList;
        page.GetControl<QPushButton>("IDC_DIRECTORY")->click();
        SelectRow(page.GetControl<QTreeWidget>("IDC_FOLDER_LIST"), "main", true);
        SelectRow(page.GetControl<QTreeWidget>("IDC_VAR_LIST"), "big", false);
        Settle(300);

        simulated.SetPace(BYTES_PER_SECOND);
        bool saved = false;
        // Runs from the dialog's event handling while the receive goes on.
        QTimer::singleShot(SHOOT_AFTER_MS, [&] {
            QProgressDialog* dialog = sheet.GetProgress().GetDialog();
            if (dialog == nullptr)
                return;
            saved = Shoot(sheet).save(QString::fromLocal8Bit(argv[1]));
            dialog->cancel();
        });
        page.GetControl<QPushButton>("IDC_RECEIVE")->click();
        return saved ? 0 : 1;
    });
}
