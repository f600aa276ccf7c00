#include "gui/qt/QtPictureWriter.h"
#include "gui/qt/QtScreenPicture.h"
#include "GuiApplication.h"
#include "screen/MonoImageFile.h"
#include "screen/PictureBits.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>

namespace {

using Screen = std::array<uint8_t, SCREEN_BYTES>;

Screen Sample()
{
    Screen screen;
    for (size_t i = 0; i < SCREEN_BYTES; ++i)
        screen[i] = static_cast<uint8_t>((i * 29) ^ (i >> 4));
    return screen;
}

QImage Picture(const Screen& screen, unsigned zoom)
{
    std::vector<uint8_t> bits;
    EXPECT_TRUE(BuildPictureBits(screen, zoom, bits));
    return MakeScreenPicture(bits, zoom);
}

// Every pixel of `image` is white where the screen bit is set and black where
// it is clear, each screen pixel covering a zoom x zoom block.
void ExpectShowsScreen(const QImage& image, const Screen& screen, unsigned zoom)
{
    ASSERT_EQ(image.width(), SCREEN_WIDTH * static_cast<int>(zoom));
    ASSERT_EQ(image.height(), SCREEN_HEIGHT * static_cast<int>(zoom));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int sx = x / static_cast<int>(zoom);
            const int sy = y / static_cast<int>(zoom);
            const bool light = (screen[sy * SCREEN_ROW_BYTES + sx / 8] >> (7 - sx % 8)) & 1;
            ASSERT_EQ(image.pixel(x, y), light ? qRgb(255, 255, 255) : qRgb(0, 0, 0)) << x << "," << y;
        }
    }
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(ImageExport, TheFormatFollowsTheExtensionInAnyCase)
{
    EXPECT_EQ(FindImageFormat("shot.bmp"), "bmp");
    EXPECT_EQ(FindImageFormat("/tmp/a.b/SHOT.BMP"), "bmp");
    EXPECT_EQ(FindImageFormat("shot.Png"), "png");
    EXPECT_EQ(FindImageFormat("shot.tar.ppm"), "ppm");
    EXPECT_EQ(FindImageFormat("shot"), "");
    EXPECT_EQ(FindImageFormat("shot."), "");
    EXPECT_EQ(FindImageFormat("folder.bmp/shot"), "");
    EXPECT_EQ(FindImageFormat("shot.bmpx"), "");
}

TEST(ImageExport, SavedFilesReadBackAsTheScreen)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Screen screen = Sample();
    struct Case {
        const char* name;
        unsigned zoom;
        const char* format;
    };
    for (const Case& c : {Case{"shot.BMP", 1, "bmp"}, Case{"shot.png", 2, "png"}, Case{"shot.PBM", 1, "pbm"}}) {
        const QString path = dir.filePath(c.name);
        QString reason;
        ASSERT_TRUE(SaveImageAs(Picture(screen, c.zoom), path, reason)) << c.name << ": " << reason.toStdString();
        QImage back;
        ASSERT_TRUE(back.load(path, c.format)) << c.name;
        ExpectShowsScreen(back.convertToFormat(QImage::Format_RGB32), screen, c.zoom);
    }
    // Nothing but the saved files is left in the folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);
}

TEST(ImageExport, ANameWithoutAKnownExtensionWritesNothingAndSaysWhy)
{
    QTemporaryDir dir;
    for (const char* name : {"shot", "shot.xyz"}) {
        QString reason;
        EXPECT_FALSE(SaveImageAs(Picture(Sample(), 1), dir.filePath(name), reason)) << name;
        EXPECT_TRUE(reason.contains("bmp")) << reason.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath(name))) << name;
    }
}

TEST(ImageExport, AnUnwritablePlaceFailsAndKeepsAnExistingFile)
{
    QTemporaryDir dir;
    QString reason;
    EXPECT_FALSE(SaveImageAs(Picture(Sample(), 1), dir.filePath("missing/shot.bmp"), reason));
    EXPECT_FALSE(reason.isEmpty());

    // A folder standing where the file should go.
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.bmp"));
    reason.clear();
    EXPECT_FALSE(SaveImageAs(Picture(Sample(), 1), dir.filePath("taken.bmp"), reason));
    EXPECT_FALSE(reason.isEmpty());

    // A save that is refused leaves the old file as it was; a good one replaces it.
    const QString old = dir.filePath("old.bmp");
    {
        QFile file(old);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old contents");
    }
    EXPECT_FALSE(SaveImageAs(QImage(), old, reason));
    EXPECT_EQ(ReadAll(old), QByteArray("old contents"));
    EXPECT_TRUE(SaveImageAs(Picture(Sample(), 1), old, reason));
    EXPECT_NE(ReadAll(old), QByteArray("old contents"));
}

// The toolkit-free writers that both programs use on every system: whatever
// another reader makes of the file is exactly the picture, also where a row
// ends inside a byte, and however big the picture is.
TEST(MonoImageFile, EveryFormatReadsBackAsThePicture)
{
    struct Size {
        int width, height;
    };
    for (const Size size : {Size{SCREEN_WIDTH, SCREEN_HEIGHT}, Size{13, 5}, Size{2050, 300}}) {
        const size_t rowBytes = (static_cast<size_t>(size.width) + 7) / 8 + 3; // room the writer must ignore
        std::vector<uint8_t> bits(rowBytes * static_cast<size_t>(size.height));
        for (size_t i = 0; i < bits.size(); ++i)
            bits[i] = static_cast<uint8_t>((i * 151) ^ (i >> 3));
        const MonoPicture picture{size.width, size.height, bits.data(), rowBytes};
        for (const char* name : {"a.bmp", "a.PNG", "a.pbm"}) {
            const std::vector<uint8_t> file = EncodeMonoImage(picture, MonoImageFormatFromPath(name));
            QImage image;
            ASSERT_TRUE(image.loadFromData(file.data(), static_cast<int>(file.size()))) << name << size.width;
            ASSERT_EQ(image.size(), QSize(size.width, size.height)) << name;
            for (int y = 0; y < size.height; ++y)
                for (int x = 0; x < size.width; ++x) {
                    const bool light = (bits[static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x / 8)] >> (7 - x % 8)) & 1;
                    ASSERT_EQ(image.pixel(x, y), light ? qRgb(255, 255, 255) : qRgb(0, 0, 0))
                        << name << " " << size.width << " at " << x << "," << y;
                }
        }
    }
    EXPECT_EQ(MonoImageFormatFromPath("shot.jpg"), MonoImageFormat::None);
    EXPECT_EQ(MonoImageFormatFromPath("dir.png/shot"), MonoImageFormat::None);
}
