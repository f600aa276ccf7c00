// Draws the remote window on the simulated calculator after "2+3" and ENTER
// clicked on its keyboard and "6*7" typed on the PC's, with a key held
// latched, into a PNG file. Run under a display or xvfb-run:
//   xvfb-run -a build/bin/vantrel_remoteshot "$PWD/docs/remote.png"

#include "gui/qt/QtRemoteFace.h"
#include "gui/qt/QtRemoteWindow.h"
#include "gui/qt/Sheet.h"
#include "gui/qt/tools/SimulatedSheetRun.h"

#include <QDialog>
#include <QTest>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    return RunOnSimulatedSheet(argc, argv, [&](CSheet& sheet, const CPrintedMessages&) {
        CQtRemoteWindow remote(&sheet);
        if (!remote.Open(sheet.GetLink()))
            return 1;
        Settle(300);
        for (const char* key : {"2", "+", "3", "ENTER"})
            QTest::mouseClick(remote.GetFace(), Qt::LeftButton, {}, remote.GetFace()->KeyCentre(key));
        QTest::keyClicks(remote.GetFace(), QStringLiteral("6*7"));
        QTest::keyClick(remote.GetFace(), Qt::Key_Return);
        QTest::mouseClick(remote.GetFace(), Qt::LeftButton, {}, remote.GetFace()->KeyCentre("2ND"));
        // Until the keys are in and a screen after them is shown.
        for (int i = 0; i < 100 && (!remote.Logic().GetQueue().empty() || remote.Logic().GetRateTenths() == 0); ++i)
            Settle(50);
        Settle(600);
        const bool saved = remote.GetDialog()->grab().save(QString::fromLocal8Bit(argv[1]));
        remote.GetDialog()->close();
        return saved ? 0 : 1;
    });
}
