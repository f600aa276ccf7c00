// The Win32 window's parts that the end-to-end test under Wine does not
// reach: message texts that a library lacks, and a page whose template the
// library lacks.
#include "gui/win32/Win32AboutPage.h"
#include "gui/win32/Win32GrabScreenPage.h"
#include "gui/win32/Win32KeyLabel.h"
#include "gui/win32/Win32Messages.h"
#include "language/LanguageLibrary.h"
#include "language/ProgramFolder.h"
#include "RecordingMessages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <windows.h>
#include <commctrl.h>

namespace {

bool HasDisplay()
{
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && *display != '\0';
}

// Serves the sheet's messages a while, or until `done` says so.
template <class Done>
void Pump(HWND sheet, Done done)
{
    MSG message;
    for (int i = 0; i < 100 && !done(); ++i) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!PropSheet_IsDialogMessage(sheet, &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        Sleep(10);
    }
}

// A modeless sheet of `pages`; it makes its first page once its own
// messages are served.
HWND OpenSheet(std::vector<PROPSHEETPAGEW>& pages)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_NOAPPLYNOW;
    header.pszCaption = L"Vantrel 92";
    header.nPages = static_cast<UINT>(pages.size());
    header.ppsp = pages.data();
    return reinterpret_cast<HWND>(PropertySheetW(&header));
}

// A copy of a dialog template (the extended kind the language libraries
// hold) whose font is `points` high.
std::vector<unsigned char> WithFontSize(const void* tmpl, size_t size, WORD points)
{
    std::vector<unsigned char> copy(static_cast<const unsigned char*>(tmpl),
                                    static_cast<const unsigned char*>(tmpl) + size);
    size_t at = 26; // past the fixed header of an extended template
    for (int field = 0; field < 3; ++field) { // menu, class, title
        WORD first;
        std::memcpy(&first, &copy[at], 2);
        if (first == 0xFFFF) {
            at += 4;
        } else {
            do {
                std::memcpy(&first, &copy[at], 2);
                at += 2;
            } while (first != 0);
        }
    }
    std::memcpy(&copy[at], &points, 2);
    return copy;
}

bool Overlap(const RECT& a, const RECT& b)
{
    RECT both;
    return IntersectRect(&both, &a, &b) != FALSE;
}

class Win32GuiTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_wStringLanguage = 1040;
        SetProgramFolder(VANTREL_BIN_DIR);
    }
    void TearDown() override
    {
        FreeLanguageLibrary();
        SetProgramFolder("");
    }
};

TEST_F(Win32GuiTest, AMessageBoxTextIsNeverEmpty)
{
    struct Case {
        bool withLibrary;
        int id;
        const char* arg;
        const char* expected; // part of the text
    };
    const Case cases[] = {
        {true, 123, "no driver", "no driver"},        // the library's text with its "%s" filled
        {true, 399, "", "Vantrel 92: 399"},           // in no table: named by its number
        {false, 105, "a.92s", "Attenzione il file a.92s"}, // no library: the program's own Italian text
        {false, 399, "why", "why"},                   // ... and the argument is kept
    };
    for (const Case& c : cases) {
        FreeLanguageLibrary();
        if (c.withLibrary) {
            g_hLangLibrary = LoadLanguageBundle("English.dll");
            ASSERT_NE(g_hLangLibrary, nullptr);
        }
        const std::string text = MessageText(c.id, c.arg);
        EXPECT_FALSE(text.empty()) << c.id;
        EXPECT_EQ(text.find("%s"), std::string::npos) << text;
        EXPECT_NE(text.find(c.expected), std::string::npos) << c.id << ": " << text;
    }
}

TEST_F(Win32GuiTest, APageWithoutTemplateIsEmptyAndTheSheetStillOpens)
{
    // Wine makes a property sheet's pages only on a display (cross-build.sh
    // runs these tests on a virtual one).
    if (!HasDisplay())
        GTEST_SKIP() << "needs a display";
    CWin32AboutPage page;
    std::vector<PROPSHEETPAGEW> pages = {page.MakePage(nullptr)};
    HWND sheet = OpenSheet(pages);
    ASSERT_NE(sheet, nullptr);
    Pump(sheet, [&] { return page.GetHwnd() != nullptr; });
    ASSERT_NE(page.GetHwnd(), nullptr);
    EXPECT_EQ(GetWindow(page.GetHwnd(), GW_CHILD), nullptr);
    EXPECT_EQ(page.Item(IDC_ANIMATION), nullptr);
    DestroyWindow(sheet);
}

TEST_F(Win32GuiTest, PicturesShowWholeWhateverTheDialogFont)
{
    // The screen at double size and the about clip have their sizes in
    // pixels; the pages' templates in dialog units, which follow the font.
    if (!HasDisplay())
        GTEST_SKIP() << "needs a display";
    g_hLangLibrary = LoadLanguageBundle("English.dll");
    ASSERT_NE(g_hLangLibrary, nullptr);
    for (WORD points : {WORD(7), WORD(8)}) {
        SCOPED_TRACE(points);
        size_t screenSize = 0, aboutSize = 0;
        const void* screenTemplate = LoadLanguageResource(IDD_GRABSCREEN, RT_DIALOG, &screenSize);
        const void* aboutTemplate = LoadLanguageResource(IDD_ABOUT, RT_DIALOG, &aboutSize);
        ASSERT_NE(screenTemplate, nullptr);
        ASSERT_NE(aboutTemplate, nullptr);
        const auto screenCopy = WithFontSize(screenTemplate, screenSize, points);
        const auto aboutCopy = WithFontSize(aboutTemplate, aboutSize, points);
        CRecordingMessages messages;
        CWin32GrabScreenPage screen(messages);
        CWin32AboutPage about;
        std::vector<PROPSHEETPAGEW> pages = {screen.MakePage(screenCopy.data()), about.MakePage(aboutCopy.data())};
        HWND sheet = OpenSheet(pages);
        ASSERT_NE(sheet, nullptr);
        Pump(sheet, [&] { return screen.GetHwnd() != nullptr; });
        ASSERT_NE(screen.GetHwnd(), nullptr);

        RECT page{}, picture{};
        GetClientRect(screen.GetHwnd(), &page);
        GetClientRect(screen.Item(IDC_SCREEN_PICTURE), &picture);
        EXPECT_GE(picture.right, 480);
        EXPECT_GE(picture.bottom, 256);
        const RECT placed = screen.ItemRect(IDC_SCREEN_PICTURE);
        RECT inside{};
        IntersectRect(&inside, &placed, &page);
        EXPECT_TRUE(EqualRect(&inside, &placed)) << placed.top << " " << placed.bottom << " of " << page.bottom;
        for (int button : {IDC_CAPTURE, IDC_ZOOM, IDC_SAVE_PICTURE}) {
            const RECT place = screen.ItemRect(button);
            EXPECT_FALSE(Overlap(place, placed)) << button;
            EXPECT_LE(place.bottom, page.bottom) << button;
        }

        PropSheet_SetCurSel(sheet, nullptr, 1);
        HWND animation = nullptr;
        Pump(sheet, [&] {
            animation = about.Item(IDC_ANIMATION);
            RECT clip{};
            return animation != nullptr && GetClientRect(animation, &clip) && clip.right >= 160;
        });
        ASSERT_NE(animation, nullptr);
        RECT clip{};
        GetClientRect(animation, &clip);
        EXPECT_GE(clip.right, 160);
        EXPECT_GE(clip.bottom, 96);
        DestroyWindow(sheet);
    }
}

TEST(Win32KeyLabel, SymbolsAreDrawnAsShapesPointingTheirWay)
{
    // A font without the glyph would draw an empty box: the same span at
    // every edge. An arrow comes to a point on its own side only.
    enum Side { TOP, BOTTOM, LEFT, RIGHT };
    const struct {
        const wchar_t* label;
        Side tip;
        Side back;
    } rows[] = {
        {L"\u2191", TOP, BOTTOM},  {L"\u2193", BOTTOM, TOP},  {L"\u2190", LEFT, RIGHT},
        {L"\u2192", RIGHT, LEFT},  {L"\u21E7", TOP, BOTTOM},  {L"\u25B6", RIGHT, LEFT},
    };
    constexpr int SIDE = 64;
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), SIDE, -SIDE, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(canvas, nullptr);
    HGDIOBJ oldBitmap = SelectObject(dc, canvas);
    LOGFONTW font = {};
    font.lfHeight = -24;
    font.lfWeight = FW_BOLD;
    HFONT labelFont = CreateFontIndirectW(&font);
    HGDIOBJ oldFont = SelectObject(dc, labelFont);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    const auto* pixels = static_cast<const uint32_t*>(bits);
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.label[0]));
        RECT box = {0, 0, SIDE, SIDE};
        FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawKeyLabel(dc, row.label, box);
        GdiFlush();
        const auto ink = [&](int x, int y) { return (pixels[y * SIDE + x] & 0xFFFFFF) != 0xFFFFFF; };
        int left = SIDE, right = -1, top = SIDE, bottom = -1;
        for (int y = 0; y < SIDE; ++y)
            for (int x = 0; x < SIDE; ++x)
                if (ink(x, y)) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        ASSERT_GE(right, left) << "nothing drawn";
        EXPECT_NEAR((left + right) / 2, SIDE / 2, 2);
        EXPECT_NEAR((top + bottom) / 2, SIDE / 2, 2);
        // How much ink the outermost line of pixels on a side holds.
        const auto span = [&](Side side) {
            int count = 0;
            for (int i = 0; i < SIDE; ++i)
                count += side == TOP      ? ink(i, top)
                         : side == BOTTOM ? ink(i, bottom)
                         : side == LEFT   ? ink(left, i)
                                          : ink(right, i);
            return count;
        };
        EXPECT_LE(span(row.tip), 4);
        EXPECT_GT(span(row.back), span(row.tip) + 2) << span(row.tip) << " " << span(row.back);
    }
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(labelFont);
    DeleteObject(canvas);
    DeleteDC(dc);
}

} // namespace
