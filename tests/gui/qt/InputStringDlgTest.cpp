#include "gui/qt/InputStringDlg.h"
#include "GuiTestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

QLineEdit* Input(QWidget* modal)
{
    return modal ? modal->findChild<QLineEdit*>(QStringLiteral("IDC_INPUT")) : nullptr;
}

} // namespace

TEST(InputStringDlg, ShowsCaptionPromptAndTextAndEnterActsAsOk)
{
    CInputStringDlg dialog;
    dialog.m_strTitle = "Nome file";
    dialog.m_strPrompt = "first line\r\nsecond line";
    dialog.m_strText = "old";
    QString caption;
    QString prompt;
    QString offered;
    Qt::WindowFlags flags;
    OnNextModal([&](QWidget* modal) {
        ASSERT_NE(Input(modal), nullptr);
        caption = modal->windowTitle();
        prompt = modal->findChild<QLabel*>(QStringLiteral("IDC_PROMPT"))->text();
        offered = Input(modal)->text();
        flags = modal->windowFlags();
        Input(modal)->selectAll();
        QTest::keyClicks(Input(modal), QStringLiteral("lesson"));
        QTest::keyClick(Input(modal), Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_EQ(dialog.m_strText, "lesson");
    EXPECT_EQ(caption, QStringLiteral("Nome file"));
    EXPECT_EQ(prompt, QStringLiteral("first line\nsecond line"));
    EXPECT_EQ(offered, QStringLiteral("old"));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    // The prompt the caller gave is left as it was.
    EXPECT_EQ(dialog.m_strPrompt, "first line\r\nsecond line");
}

TEST(InputStringDlg, EscapeCancelsAndKeepsTheText)
{
    CInputStringDlg dialog;
    dialog.m_strText = "kept";
    OnNextModal([&](QWidget* modal) {
        ASSERT_NE(Input(modal), nullptr);
        Input(modal)->setText(QStringLiteral("typed"));
        QTest::keyClick(Input(modal), Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.DoModal(), 2);
    EXPECT_EQ(dialog.m_strText, "kept");
}

TEST(InputStringDlg, ReopensWithItsLastTextAndReturnsLongNamesWhole)
{
    CInputStringDlg dialog;
    const QString longName(300, QLatin1Char('n'));
    OnNextModal([&](QWidget* modal) {
        ASSERT_NE(Input(modal), nullptr);
        QTest::keyClicks(Input(modal), longName);
        QTest::keyClick(Input(modal), Qt::Key_Enter);
    });
    ASSERT_EQ(dialog.DoModal(), 1);
    EXPECT_EQ(dialog.m_strText, longName.toStdString());

    QString offered;
    OnNextModal([&](QWidget* modal) {
        ASSERT_NE(Input(modal), nullptr);
        offered = Input(modal)->text();
        QTest::keyClick(Input(modal), Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.DoModal(), 2);
    EXPECT_EQ(offered, longName);
}
