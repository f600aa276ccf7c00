#include "QtProgramFixture.h"
#include "SheetHelpers.h"

#include "gui/qt/QtAnimateCtrl.h"

#include <QElapsedTimer>

namespace {

class AboutPageTest : public CQtProgramFixture {
protected:
    void SetUp() override
    {
        CQtProgramFixture::SetUp();
        Install("English.dll");
    }
};

TEST_F(AboutPageTest, ClipOpensOnceOnFirstDisplayAndLoops)
{
    Install("Vantrel92.avi");
    CSheet sheet;
    PrepareSimulated(sheet);
    Open(sheet);
    EXPECT_EQ(sheet.m_pageAbout.m_animate, nullptr); // not shown yet
    ShowPage(sheet, &sheet.m_pageAbout);
    CQtAnimateCtrl* animate = sheet.m_pageAbout.m_animate;
    ASSERT_NE(animate, nullptr);
    EXPECT_TRUE(animate->IsOpen());
    EXPECT_TRUE(animate->IsPlaying());
    EXPECT_EQ(animate->GetFrameCount(), 32);

    // It moves on by itself.
    QElapsedTimer clock;
    clock.start();
    while (animate->GetCurrentFrame() == 0 && clock.elapsed() < 3000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_NE(animate->GetCurrentFrame(), 0);

    for (int i = 0; i < 3; ++i) {
        ShowPage(sheet, &sheet.m_pageConfig);
        ShowPage(sheet, &sheet.m_pageAbout);
    }
    EXPECT_EQ(animate->GetOpenCount(), 1);
    EXPECT_TRUE(m_messages.GetShown().empty());
    sheet.DestroyWindow();
}

TEST_F(AboutPageTest, MissingOrDamagedClipLeavesThePageStillWithoutAMessage)
{
    const QByteArray whole = BuiltFile("Vantrel92.avi");
    for (const QByteArray& clip : {QByteArray(), whole.left(whole.size() / 2), QByteArray("RIFF garbage")}) {
        if (!clip.isNull())
            InstallBytes("Vantrel92.avi", clip);
        CSheet sheet;
        PrepareSimulated(sheet);
        Open(sheet);
        ShowPage(sheet, &sheet.m_pageAbout);
        CQtAnimateCtrl* animate = sheet.m_pageAbout.m_animate;
        ASSERT_NE(animate, nullptr);
        EXPECT_FALSE(animate->IsOpen());
        EXPECT_FALSE(animate->IsPlaying());
        EXPECT_TRUE(sheet.m_pageAbout.isVisible());
        sheet.DestroyWindow();
    }
    EXPECT_TRUE(m_messages.GetShown().empty());
}

} // namespace
