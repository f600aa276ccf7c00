#include "QtProgramFixture.h"

#include "gui/pages/SheetLogic.h"
#include "gui/qt/QtTemplateLoader.h"
#include "language/LanguageLibrary.h"
#include "language/LanguageLibraryLoader.h"
#include "language/OwnResources.h"
#include "text/StringIds.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

#include <memory>

namespace {

// The parallel and the serial port's controls take one place: the page shows
// one pair at a time.
bool TakeTurns(const QWidget* a, const QWidget* b)
{
    const QString names = a->objectName() + QLatin1Char(' ') + b->objectName();
    for (const char* pair : {"IDC_PORT IDC_SERIAL_PORT", "IDC_SERIAL_PORT IDC_PORT",
                             "IDC_STATIC_PORT IDC_STATIC_SERIAL_PORT", "IDC_STATIC_SERIAL_PORT IDC_STATIC_PORT"})
        if (names == QLatin1String(pair))
            return true;
    return false;
}

// Every control inside its page, none on top of another (group boxes
// surround theirs), and every caption drawn whole in its control.
void ExpectLaidOut(const QWidget& root)
{
    const QList<QWidget*> controls = root.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_FALSE(controls.isEmpty());
    for (const QWidget* control : controls) {
        SCOPED_TRACE(control->objectName().toStdString());
        EXPECT_TRUE(QRect(QPoint(0, 0), root.size()).contains(control->geometry()));
        const QFontMetrics metrics(control->font());
        const int margin = 2 * metrics.averageCharWidth();
        if (auto* group = qobject_cast<const QGroupBox*>(control)) {
            EXPECT_LE(metrics.horizontalAdvance(group->title()) + margin, group->width());
        } else if (auto* box = qobject_cast<const QCheckBox*>(control)) {
            EXPECT_LE(box->sizeHint().width(), box->width());
        } else if (auto* button = qobject_cast<const QAbstractButton*>(control)) {
            const QString text = button->text().remove(QLatin1Char('&'));
            EXPECT_LE(metrics.horizontalAdvance(text) + margin, button->width());
            EXPECT_LE(metrics.height(), button->height());
        } else if (auto* label = qobject_cast<const QLabel*>(control)) {
            if (label->wordWrap()) {
                EXPECT_LE(label->heightForWidth(label->width()), label->height()) << label->text().toStdString();
            } else {
                EXPECT_LE(label->sizeHint().width(), label->width());
            }
        }
        for (const QWidget* other : controls) {
            if (other != control && !qobject_cast<const QGroupBox*>(control) && !qobject_cast<const QGroupBox*>(other) &&
                !TakeTurns(control, other)) {
                EXPECT_FALSE(control->geometry().intersects(other->geometry())) << other->objectName().toStdString();
            }
        }
    }
}

class TemplateLayoutTest : public CQtProgramFixture {
protected:
    void TearDown() override
    {
        QApplication::setFont(m_oldFont);
        CQtProgramFixture::TearDown();
    }
    const QFont m_oldFont = QApplication::font();
};

// The layouts are in dialog units, so they must hold in every language and
// in the default font as well as in a much larger one.
TEST_F(TemplateLayoutTest, EveryPageAndTheFileNameDialogFitTheirTextsInBothLanguagesAndFonts)
{
    Install(LIBRARY_ENGLISH);
    Install(LIBRARY_ITALIAN);
    QFont large = m_oldFont;
    large.setPointSizeF(m_oldFont.pointSizeF() * 1.6);
    for (const QFont& font : {m_oldFont, large}) {
        QApplication::setFont(font);
        for (int language : {0, 1}) {
            ASSERT_NE(LoadLanguageLibraryFor(language), 0);
            for (int id : CSheetLogic::BUILD_ORDER) {
                SCOPED_TRACE(testing::Message() << "font " << font.pointSizeF() << " language " << language << " template " << id);
                size_t size = 0;
                const void* tmpl = LoadLanguageResource(id, RT_DIALOG, &size);
                std::unique_ptr<QWidget> page(LoadTemplate(tmpl, size, nullptr));
                ASSERT_NE(page, nullptr);
                ExpectLaidOut(*page);
                if (const QWidget* picture = FindControl(page.get(), IDC_SCREEN_PICTURE)) {
                    // The screen at double size, inside the picture's frame.
                    EXPECT_GE(picture->width(), 480 + 4);
                    EXPECT_GE(picture->height(), 256 + 4);
                }
            }
            FreeLanguageLibrary();
        }
        SCOPED_TRACE("file-name dialog");
        std::unique_ptr<QWidget> dialog(LoadOwnTemplate(IDD_INPUT_STRING, nullptr));
        ASSERT_NE(dialog, nullptr);
        auto* prompt = qobject_cast<QLabel*>(FindControl(dialog.get(), IDC_PROMPT));
        ASSERT_NE(prompt, nullptr);
        prompt->setText(QString::fromStdString(LoadOwnString(IDS_GROUP_NAME_PROMPT)).replace(QLatin1String("\r\n"), QLatin1String("\n")));
        ExpectLaidOut(*dialog);
    }
}

} // namespace
