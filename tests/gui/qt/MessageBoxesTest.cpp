#include "QtProgramFixture.h"
#include "SheetHelpers.h"

#include "gui/qt/QtMessageBoxes.h"
#include "text/StringIds.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

namespace {

// The real boxes, answered by a timer once they are up.
class MessageBoxesTest : public CQtProgramFixture {
protected:
    CQtMessageBoxes m_boxes;
};

TEST_F(MessageBoxesTest, TextBoxHasOnlyOkAndPlainLineBreaks)
{
    std::string shown;
    int buttons = -1;
    OnNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shown = box->text().toStdString();
        buttons = int(box->buttons().size());
        box->button(QMessageBox::Ok)->click();
    });
    m_boxes.ShowText(TEXT_NO_LANGUAGE_LIBRARY);
    EXPECT_EQ(shown, "Unable to find any language library\nPlease check that the file English.dll\n"
                     "is in the same directory of the application!");
    EXPECT_EQ(buttons, 1);
}

// Asked before a file is replaced: a warning whose default keeps the file.
TEST_F(MessageBoxesTest, QuestionIsAWarningThatFillsTheFileNameAndDefaultsToNo)
{
    Install("English.dll");
    CSheet sheet; // loads the library
    for (bool yes : {true, false}) {
        std::string shown;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QAbstractButton* defaultButton = nullptr;
        QAbstractButton* no = nullptr;
        OnNextModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            shown = box->text().toStdString();
            icon = box->icon();
            defaultButton = box->defaultButton();
            no = box->button(QMessageBox::No);
            box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        EXPECT_EQ(m_boxes.AskYesNo(IDS_OVERWRITE_FILE, "x.92p"), yes);
        EXPECT_EQ(shown, "Warning: the file x.92p already exists. Overwrite it?");
        EXPECT_EQ(icon, QMessageBox::Warning);
        EXPECT_NE(no, nullptr);
        EXPECT_EQ(defaultButton, no);
    }
}

TEST_F(MessageBoxesTest, FileNameDialogComesFromTheProgramsTemplate)
{
    std::string caption;
    std::string prompt;
    OnNextModal([&](QWidget* modal) {
        ASSERT_NE(modal, nullptr);
        caption = modal->windowTitle().toStdString();
        prompt = modal->findChild<QLabel*>(QStringLiteral("IDC_PROMPT"))->text().toStdString();
        auto* input = modal->findChild<QLineEdit*>(QStringLiteral("IDC_INPUT"));
        EXPECT_EQ(input->text().toStdString(), "before");
        input->setText(QStringLiteral("group"));
        modal->findChild<QPushButton*>(QStringLiteral("IDOK"))->click();
    });
    std::string text = "before";
    EXPECT_EQ(m_boxes.AskText(IDS_GROUP_NAME_TITLE, IDS_GROUP_NAME_PROMPT, text), 1);
    EXPECT_EQ(text, "group");
    EXPECT_EQ(caption, "Nome file");
    EXPECT_EQ(prompt, "Inserisci il nome del file senza estensione\nnel quale devo salvare i files:");

    OnNextModal([&](QWidget* modal) {
        ASSERT_NE(modal, nullptr);
        modal->findChild<QLineEdit*>(QStringLiteral("IDC_INPUT"))->setText(QStringLiteral("ignored"));
        modal->findChild<QPushButton*>(QStringLiteral("IDCANCEL"))->click();
    });
    EXPECT_EQ(m_boxes.AskText(IDS_GROUP_NAME_TITLE, IDS_GROUP_NAME_PROMPT, text), 2);
    EXPECT_EQ(text, "group");
}

TEST_F(MessageBoxesTest, TheAccessorFallsBackToTheBoxes)
{
    EXPECT_EQ(&UserMessages(), static_cast<IUserMessages*>(&m_messages));
    SetUserMessages(nullptr);
    EXPECT_NE(dynamic_cast<CQtMessageBoxes*>(&UserMessages()), nullptr);
    SetUserMessages(&m_messages);
}

} // namespace
