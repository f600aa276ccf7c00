#include "gui/qt/QtRemoteFace.h"
#include "gui/qt/QtRemoteWindow.h"
#include "sim/BuiltInCalculator.h"
#include "SimulatedSheetFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The remote window on the whole program driven by the simulated calculator.
class RemoteWindow : public CSimulatedSheetFixture {
protected:
    // Lets the window run until `done` holds, for at most `ms`.
    static bool RunUntil(const std::function<bool()>& done, int ms = 10000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < ms)
            QTest::qWait(10);
        return done();
    }
    void Click(CQtRemoteWindow& remote, const char* key)
    {
        QTest::mouseClick(remote.GetFace(), Qt::LeftButton, {}, remote.GetFace()->KeyCentre(key));
    }
    // The face shows the calculator's screen as it is now, pixel for pixel
    // at double size.
    bool ShowsTheCalculator(const CQtRemoteWindow& remote)
    {
        const QImage image = remote.GetFace()->GetScreen().convertToFormat(QImage::Format_RGB32);
        if (image.size() != QSize(480, 256))
            return false;
        const SimScreen& screen = Calc().Screen();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const bool dark = (screen[(y / 2) * 30 + x / 16] >> (7 - (x / 2) % 8)) & 1;
                if (image.pixel(x, y) != (dark ? qRgb(0, 0, 0) : qRgb(255, 255, 255)))
                    return false;
            }
        return true;
    }
};

} // namespace

TEST_F(RemoteWindow, ClickedAndTypedKeysShowOnTheRefreshedScreen)
{
    OpenSheet();
    CQtRemoteWindow remote(m_pSheet.get());
    ILinkProgress* const sheetProgress = m_pSheet->GetLink().GetProgress();
    ASSERT_TRUE(remote.Open(m_pSheet->GetLink()));
    ASSERT_TRUE(RunUntil([&] { return remote.Logic().GetFramesShown() > 0; }));

    for (const char* key : {"2", "+", "3", "ENTER"})
        Click(remote, key);
    QTest::keyClicks(remote.GetFace(), QStringLiteral("6*7"));
    QTest::keyClick(remote.GetFace(), Qt::Key_Return);
    ASSERT_TRUE(RunUntil([&] { return Calc().Home().GetHistory().size() == 2; }));
    EXPECT_EQ(Calc().Home().GetHistory()[0], (std::pair<std::string, std::string>{"2+3", "5"}));
    EXPECT_EQ(Calc().Home().GetHistory()[1], (std::pair<std::string, std::string>{"6*7", "42"}));
    // The next screens read show it.
    EXPECT_TRUE(RunUntil([&] { return ShowsTheCalculator(remote); }));
    EXPECT_NE(remote.GetLabel("IDC_REMOTE_RATE")->text(), QString());
    EXPECT_TRUE(m_messages.GetShown().empty());

    remote.GetDialog()->close();
    EXPECT_FALSE(remote.GetDialog()->isVisible());
    EXPECT_EQ(m_pSheet->GetLink().GetProgress(), sheetProgress);
}

TEST_F(RemoteWindow, TheScreenPageOpensItAndAClosingWindowLetsTheReadFinish)
{
    OpenSheet();
    // At a real cable's pace a screen takes a while.
    m_pSheet->GetSimulatedCalculator()->SetPace(20000);
    m_pSheet->GetTabControl()->setCurrentWidget(&m_pSheet->m_pageGrabScreen);
    bool opened = false;
    bool hiddenAtOnce = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == QLatin1String("IDD_REMOTE") && widget->isVisible())
                opened = true;
        // Closed while its first screen is being read.
        QTimer::singleShot(60, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget->objectName() == QLatin1String("IDD_REMOTE") && widget->isVisible()) {
                    widget->close();
                    hiddenAtOnce = !widget->isVisible();
                }
        });
    });
    ILinkProgress* const sheetProgress = m_pSheet->GetLink().GetProgress();
    m_pSheet->m_pageGrabScreen.GetControl<QAbstractButton>("IDC_REMOTE")->click();
    EXPECT_TRUE(opened);
    EXPECT_TRUE(hiddenAtOnce);
    EXPECT_TRUE(Calc().IsIdle()) << "the read was finished, not broken off";
    EXPECT_EQ(m_pSheet->GetLink().GetProgress(), sheetProgress);
    EXPECT_TRUE(m_messages.GetShown().empty());
}
