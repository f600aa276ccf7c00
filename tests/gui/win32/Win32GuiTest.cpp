// The Win32 window's parts that the end-to-end test under Wine does not
// reach: message texts that a library lacks, and a page whose template the
// library lacks.
#include "gui/win32/Win32AboutPage.h"
#include "gui/win32/Win32Messages.h"
#include "language/LanguageLibrary.h"
#include "language/ProgramFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <windows.h>
#include <commctrl.h>

namespace {

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
    if (const char* display = std::getenv("DISPLAY"); display == nullptr || *display == '\0')
        GTEST_SKIP() << "needs a display";
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    CWin32AboutPage page;
    PROPSHEETPAGEW record = page.MakePage(nullptr);
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_NOAPPLYNOW;
    header.pszCaption = L"Vantrel 92";
    header.nPages = 1;
    header.ppsp = &record;
    HWND sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
    ASSERT_NE(sheet, nullptr);
    // A modeless sheet makes its first page once its own messages are served.
    MSG message;
    for (int i = 0; i < 100 && page.GetHwnd() == nullptr; ++i) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!PropSheet_IsDialogMessage(sheet, &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        Sleep(10);
    }
    ASSERT_NE(page.GetHwnd(), nullptr);
    EXPECT_EQ(GetWindow(page.GetHwnd(), GW_CHILD), nullptr);
    EXPECT_EQ(page.Item(IDC_ANIMATION), nullptr);
    DestroyWindow(sheet);
}

} // namespace
