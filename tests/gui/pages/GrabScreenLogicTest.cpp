#include "CancellingProgress.h"
#include "FakePageViews.h"
#include "gui/pages/GrabScreenLogic.h"
#include "LinkRig.h"
#include "RecordingMessages.h"
#include "screen/MonoImageFile.h"
#include "screen/MonoPictureWriter.h"
#include "screen/PictureTexts.h"
#include "sim/ScreenCanvas.h"
#include "sim/VirtualCalculator.h"
#include "TempFolder.h"
#include "text/StringIds.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Strings = std::vector<std::string>;

// The screen page's logic with a recording window and writer, linked to the
// virtual calculator, its window up.
class GrabScreenLogicTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        calc.LoadSampleContent();
        sheet.link = &rig.link;
        logic.SetSheet(&sheet);
        logic.OnInitDialog();
    }

    const CFakeGrabScreenView::Picture& Shown() const { return view.shown.back(); }

    // How many pixels of `picture` differ from `dark` (true = a dark pixel
    // of the calculator at x, y); each calculator pixel covers a zoom x zoom
    // block, and a set bit is a light pixel.
    template <class Dark>
    static int Mismatches(const CFakeGrabScreenView::Picture& picture, unsigned zoom, Dark dark)
    {
        const int z = static_cast<int>(zoom);
        EXPECT_EQ(picture.zoom, zoom);
        if (picture.bits.size() != SCREEN_BYTES * zoom * zoom)
            return -1;
        int wrong = 0;
        for (int y = 0; y < SCREEN_HEIGHT * z; ++y)
            for (int x = 0; x < SCREEN_WIDTH * z; ++x) {
                const bool light = (picture.bits[size_t(y * SCREEN_ROW_BYTES * z + x / 8)] >> (7 - x % 8)) & 1;
                wrong += light == dark(x / z, y / z);
            }
        return wrong;
    }
    int MismatchesWithCalculator(unsigned zoom)
    {
        const CScreenCanvas canvas(calc.Screen());
        return Mismatches(Shown(), zoom, [&](int x, int y) { return canvas.IsDark(x, y); });
    }
    static bool AllLight(const CFakeGrabScreenView::Picture& picture)
    {
        return std::all_of(picture.bits.begin(), picture.bits.end(), [](uint8_t b) { return b == 0xFF; });
    }

    CVirtualCalculator calc;
    CLinkRig rig{&calc};
    CFakeSheet sheet;
    CFakeGrabScreenView view;
    CFakePictureWriter writer;
    CRecordingMessages messages;
    CGrabScreenLogic logic{view, messages, writer};
};

} // namespace

TEST_F(GrabScreenLogicTest, BeforeAnyCaptureTheScreenIsLightAtEitherSize)
{
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(Shown().zoom, 1u);
    EXPECT_EQ(Shown().bits.size(), SCREEN_BYTES);
    EXPECT_TRUE(AllLight(Shown()));

    view.zoomChecked = true;
    logic.OnZoom();
    EXPECT_EQ(logic.GetZoom(), 2);
    EXPECT_EQ(Shown().zoom, 2u);
    EXPECT_EQ(Shown().bits.size(), 4 * SCREEN_BYTES);
    EXPECT_TRUE(AllLight(Shown()));

    view.zoomChecked = false;
    logic.OnZoom();
    EXPECT_EQ(Shown().zoom, 1u);
    EXPECT_EQ(rig.cable.GetWriteCount(), 0u) << "zooming talked to the calculator";
    EXPECT_TRUE(messages.GetShown().empty());
}

TEST_F(GrabScreenLogicTest, ACaptureShowsTheCalculatorsScreenAtOnceAtEitherSize)
{
    logic.OnCapture();
    EXPECT_TRUE(messages.GetShown().empty());
    EXPECT_EQ(view.busy, (std::vector<bool>{true, false}));
    EXPECT_EQ(MismatchesWithCalculator(1), 0);

    // A new screen, captured with the zoom already on.
    view.zoomChecked = true;
    logic.OnZoom();
    CScreenCanvas(calc.Screen()).InvertRect(0, 0, 120, 64);
    logic.OnCapture();
    EXPECT_TRUE(messages.GetShown().empty());
    EXPECT_EQ(MismatchesWithCalculator(2), 0);
    EXPECT_EQ(logic.GetPictureZoom(), 2u);
    EXPECT_EQ(logic.GetPictureBits(), Shown().bits);
}

TEST_F(GrabScreenLogicTest, AFailedCaptureShowsMessage124AndKeepsThePicture)
{
    // Stops half-way through the screen data.
    calc.FallSilentAfterBytes(4 + 4 + 4 + 2000);
    logic.OnCapture();
    EXPECT_EQ(messages.GetMessageIds(), std::vector<int>{IDS_CAPTURE_FAILED});
    EXPECT_EQ(view.shown.size(), 1u);

    // The buffer holds the bytes that came; the zoom box shows them.
    for (size_t i = 0; i < SCREEN_BYTES; ++i)
        ASSERT_EQ(logic.Screen()[i], i < 2000 ? uint8_t(~calc.Screen()[i]) : 0xFF) << i;
    view.zoomChecked = true;
    logic.OnZoom();
    const CScreenCanvas canvas(calc.Screen());
    EXPECT_EQ(Mismatches(Shown(), 2, [&](int x, int y) { return y * SCREEN_ROW_BYTES + x / 8 < 2000 && canvas.IsDark(x, y); }),
              0);
}

TEST_F(GrabScreenLogicTest, AGarbledOrCancelledCaptureKeepsPictureAndBuffer)
{
    logic.OnCapture();
    const std::vector<uint8_t> buffer(logic.Screen().begin(), logic.Screen().end());
    const size_t shown = view.shown.size();
    CScreenCanvas(calc.Screen()).InvertRect(0, 0, 240, 128);
    // The acknowledgement comes through; the screen's sum does not match.
    calc.Faults().CorruptChecksumAt(2);
    logic.OnCapture();
    calc.ClearFaults();
    CCancellingProgress cancel(1000);
    rig.link.SetProgress(&cancel);
    logic.OnCapture();
    EXPECT_EQ(messages.GetMessageIds(), (std::vector<int>{IDS_CAPTURE_FAILED, IDS_EXCHANGE_CANCELLED}));
    EXPECT_EQ(view.shown.size(), shown);
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.end(), logic.Screen().begin()));
}

TEST_F(GrabScreenLogicTest, WithoutALinkCaptureStartsNothingAndShowsMessage124)
{
    sheet.link = nullptr;
    rig.cable.ResetCounts();
    logic.OnCapture();
    EXPECT_EQ(messages.GetMessageIds(), std::vector<int>{IDS_CAPTURE_FAILED});
    EXPECT_EQ(rig.cable.GetReadCount() + rig.cable.GetWriteCount(), 0u);
    EXPECT_EQ(view.shown.size(), 1u);
    EXPECT_TRUE(view.busy.empty());
}

TEST_F(GrabScreenLogicTest, APictureThatCannotBeMadeShowsMessage122AndTheOldOneStays)
{
    view.refusePictures = true;
    view.zoomChecked = true;
    logic.OnZoom();
    EXPECT_EQ(messages.GetMessageIds(), std::vector<int>{IDS_OUT_OF_MEMORY});
    // What is saved is what is still shown.
    EXPECT_EQ(logic.GetPictureZoom(), 1u);
    ASSERT_TRUE(logic.SavePictureTo("/pictures/old.bmp"));
    EXPECT_EQ(writer.writes.at(0).zoom, 1u);
}

TEST_F(GrabScreenLogicTest, SavingWritesWhatIsShownInTheFormatItsExtensionNames)
{
    logic.OnCapture();
    view.zoomChecked = true;
    logic.OnZoom();
    ASSERT_TRUE(logic.SavePictureTo("/pictures/screen.BMP"));
    ASSERT_EQ(writer.writes.size(), 1u);
    EXPECT_EQ(writer.writes[0].bits, Shown().bits);
    EXPECT_EQ(writer.writes[0].zoom, 2u);
    EXPECT_EQ(writer.writes[0].path, "/pictures/screen.BMP");
    EXPECT_EQ(writer.writes[0].format, "bmp");

    // The save button: the window's dialog names the file; cancelling is
    // silent.
    view.pathAnswer = "";
    logic.OnSave();
    view.pathAnswer = "/pictures/shot.Png";
    logic.OnSave();
    ASSERT_EQ(writer.writes.size(), 2u);
    EXPECT_EQ(writer.writes[1].format, "png");
    EXPECT_TRUE(messages.GetShown().empty());
}

TEST_F(GrabScreenLogicTest, ASaveThatWritesNothingSaysWhichFileAndWhy)
{
    EXPECT_FALSE(logic.SavePictureTo("/pictures/screen"));
    EXPECT_FALSE(logic.SavePictureTo("/pictures/screen.bmp.txt"));
    EXPECT_TRUE(writer.writes.empty());
    writer.failure = "No space left on device";
    EXPECT_FALSE(logic.SavePictureTo("/full/screen.bmp"));
    CGrabScreenLogic unshown(view, messages, writer);
    EXPECT_FALSE(unshown.SavePictureTo("/pictures/early.bmp"));

    const Strings texts = messages.GetTexts();
    const Strings expected = {
        PictureNotSavedText("/pictures/screen", UnknownPictureFormatText({"bmp", "png"})),
        PictureNotSavedText("/pictures/screen.bmp.txt", UnknownPictureFormatText({"bmp", "png"})),
        PictureNotSavedText("/full/screen.bmp", "No space left on device"),
        PictureNotSavedText("/pictures/early.bmp", NoPictureText()),
    };
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(texts[0], "The picture was not saved as \"/pictures/screen\".\nThe name does not end in the "
                        "extension of an image format this program can write (bmp, png).");
}

// The program's own encoders, for a window without image writers: the file
// holds the picture shown, and a save that fails leaves nothing behind.
TEST_F(GrabScreenLogicTest, TheProgramsOwnWriterSavesThePictureShown)
{
    CMonoPictureWriter own;
    CGrabScreenLogic page(view, messages, own);
    page.SetSheet(&sheet);
    page.OnInitDialog();
    page.OnCapture();
    view.zoomChecked = true;
    page.OnZoom();

    CTempFolder folder;
    ASSERT_TRUE(page.SavePictureTo(folder.File("screen.PBM")));
    const MonoPicture shown{480, 256, page.GetPictureBits().data(), 60};
    EXPECT_EQ(ReadBytes(folder.File("screen.PBM")), EncodeMonoImage(shown, MonoImageFormat::Pbm));

    const std::string missing = JoinPathName(folder.File("missing"), "screen.png");
    EXPECT_FALSE(page.SavePictureTo(missing));
    EXPECT_FALSE(page.SavePictureTo(folder.File("screen.jpg")));
    ASSERT_EQ(messages.GetTexts().size(), 2u);
    // The file named once, and why in the program's own words.
    EXPECT_EQ(messages.GetTexts()[0], PictureNotSavedText(missing, ProgramText(IDS_REASON_NOT_FOUND)));
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"screen.PBM"});
}
