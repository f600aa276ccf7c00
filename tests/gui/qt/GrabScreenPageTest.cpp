#include "gui/qt/GrabScreen.h"
#include "gui/qt/QtSavePictureDialog.h"
#include "sim/BuiltInCalculator.h"
#include "SimulatedSheetFixture.h"
#include "text/StringIds.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace {

// Runs `act` on the first top-level widget of type T that opens, once the
// event loop of whatever modal call is under way gets to it.
template <class T>
void WhenOpens(std::function<void(T*)> act)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* found = qobject_cast<T*>(widget);
            if (found && found->isVisible()) {
                timer->stop();
                timer->deleteLater();
                act(found);
                return;
            }
        }
    });
    timer->start(10);
}

// Types `name` into the dialog's name field and presses its save button.
void Type(QFileDialog* dialog, const QString& name)
{
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
    static_cast<QDialog*>(dialog)->accept();
}

// The screen page on the whole program driven by the simulated calculator;
// the scratch home folder is the current directory from the start, as the
// directory page makes it when the sheet opens.
class GrabScreenPage : public CSimulatedSheetFixture {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CSimulatedSheetFixture::SetUp());
        fs::current_path(m_home);
    }

    void OpenSheet(bool portOpens = true)
    {
        ASSERT_NO_FATAL_FAILURE(CSimulatedSheetFixture::OpenSheet(portOpens));
        m_pSheet->GetTabControl()->setCurrentWidget(&Page());
        QApplication::processEvents();
        ASSERT_TRUE(Page().IsInitialised());
        ASSERT_EQ(QDir::current().canonicalPath(), QDir(WorkPath("")).canonicalPath());
        m_messages.Clear();
    }

    CGrabScreen& Page() { return m_pSheet->m_pageGrabScreen; }
    QImage Shown() { return Page().GetControl<QLabel>("IDC_SCREEN_PICTURE")->pixmap().toImage(); }
    void Click(const char* button) { Page().GetControl<QAbstractButton>(button)->click(); }
    QString WorkPath(const char* name) const
    {
        return QDir(QString::fromStdString(m_home.string())).filePath(QLatin1String(name));
    }
    std::string Path(const char* name) const { return (m_home / name).string(); }

    // Every pixel black where the calculator's screen is dark, white where
    // it is light, at the given zoom.
    void ExpectShowsCalculator(const QImage& shown, int zoom)
    {
        const QImage image = shown.convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(image.size(), QSize(240 * zoom, 128 * zoom));
        const SimScreen& screen = Calc().Screen();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const int sx = x / zoom;
                const int sy = y / zoom;
                const bool dark = (screen[sy * 30 + sx / 8] >> (7 - sx % 8)) & 1;
                ASSERT_EQ(image.pixel(x, y), dark ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << x << "," << y;
            }
        }
    }
    static bool AllWhite(const QImage& shown)
    {
        const QImage image = shown.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255))
                    return false;
        return !image.isNull();
    }
};

} // namespace

TEST_F(GrabScreenPage, ThePictureIsDrawnAtEitherSize)
{
    OpenSheet();
    EXPECT_FALSE(Page().GetControl<QCheckBox>("IDC_ZOOM")->isChecked());
    EXPECT_EQ(Shown().size(), QSize(240, 128));
    EXPECT_TRUE(AllWhite(Shown()));

    Click("IDC_CAPTURE");
    EXPECT_TRUE(m_messages.GetShown().empty());
    ExpectShowsCalculator(Shown(), 1);

    // A new screen, captured with the zoom already on.
    Click("IDC_ZOOM");
    ExpectShowsCalculator(Shown(), 2);
    CScreenCanvas(Calc().Screen()).InvertRect(0, 0, 120, 64);
    Click("IDC_CAPTURE");
    EXPECT_TRUE(m_messages.GetShown().empty());
    ExpectShowsCalculator(Shown(), 2);
    EXPECT_EQ(Page().GetPicture().size(), QSize(480, 256));

    Click("IDC_ZOOM");
    ExpectShowsCalculator(Shown(), 1);
}

TEST_F(GrabScreenPage, SavedPicturesAreWhatThePageShows)
{
    OpenSheet();
    Click("IDC_CAPTURE");
    ASSERT_TRUE(Page().Logic().SavePictureTo(Path("screen.BMP")));
    ExpectShowsCalculator(QImage(WorkPath("screen.BMP"), "bmp"), 1);

    Click("IDC_ZOOM");
    ASSERT_TRUE(Page().Logic().SavePictureTo(Path("screen.png")));
    ExpectShowsCalculator(QImage(WorkPath("screen.png"), "png"), 2);
    EXPECT_TRUE(m_messages.GetShown().empty());
}

TEST_F(GrabScreenPage, TheSaveDialogOffersBitmapsInTheCurrentFolderAndAddsNoExtension)
{
    OpenSheet();
    Click("IDC_CAPTURE");

    // Cancelling is silent.
    WhenOpens<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->nameFilters(), QStringList{PICTURE_FILTER});
        EXPECT_EQ(dialog->directory().canonicalPath(), QDir::current().canonicalPath());
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_TRUE(dialog->defaultSuffix().isEmpty());
        dialog->reject();
    });
    Click("IDC_SAVE_PICTURE");
    EXPECT_TRUE(m_messages.GetShown().empty());

    // A name without extension stays so and is refused with a message.
    WhenOpens<QFileDialog>([&](QFileDialog* dialog) {
        Type(dialog, QStringLiteral("plain"));
    });
    Click("IDC_SAVE_PICTURE");
    EXPECT_EQ(m_messages.GetTexts().size(), 1u);
    EXPECT_EQ(QDir(WorkPath("")).entryList(QDir::Files), QStringList());

    // Folders deeper than a hundred characters are fine.
    QString deep = WorkPath("");
    for (int i = 0; i < 5; ++i)
        deep += QStringLiteral("/folder-with-a-long-enough-name-%1").arg(i);
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString deepFile = deep + QStringLiteral("/Screen.Bmp");
    ASSERT_GT(deepFile.size(), 150);
    WhenOpens<QFileDialog>([&](QFileDialog* dialog) {
        Type(dialog, deepFile);
    });
    Click("IDC_SAVE_PICTURE");
    ExpectShowsCalculator(QImage(deepFile, "bmp"), 1);
}

TEST_F(GrabScreenPage, AnExistingFileIsReplacedOnlyWhenTheUserSaysSo)
{
    OpenSheet();
    Click("IDC_CAPTURE");
    const QString path = WorkPath("old.bmp");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("keep me");
    }
    auto saveAnswering = [&](QMessageBox::StandardButton answer) {
        WhenOpens<QFileDialog>([&, answer](QFileDialog* dialog) {
            bool asked = false;
            WhenOpens<QMessageBox>([&asked, answer](QMessageBox* box) {
                asked = true;
                box->button(answer)->click();
            });
            Type(dialog, path);
            EXPECT_TRUE(asked);
            if (dialog->isVisible())
                dialog->reject();
        });
        Click("IDC_SAVE_PICTURE");
    };

    saveAnswering(QMessageBox::No);
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep me"));
    kept.close();

    saveAnswering(QMessageBox::Yes);
    ExpectShowsCalculator(QImage(path, "bmp"), 1);
}
