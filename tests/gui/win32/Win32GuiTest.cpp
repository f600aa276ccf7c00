// The Win32 window's parts that the end-to-end test under Wine does not
// reach: message texts that a library lacks, and a page whose template the
// library lacks.
#include "gui/win32/Win32AboutPage.h"
#include "gui/win32/Win32GrabScreenPage.h"
#include "gui/win32/Win32Messages.h"
#include "language/LanguageLibrary.h"
#include "language/ProgramFolder.h"
#include "RecordingMessages.h"

#include <gtest/gtest.h>

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

} // namespace
