// The language libraries as Windows loads them: resource-only libraries
// taken as data files, looked up by number.

#include "FlatJsonStrings.h"

#include "language/LanguageLibrary.h"
#include "language/LanguageLibraryLoader.h"
#include "language/OwnResources.h"
#include "language/ProgramFolder.h"
#include "resources/ControlIds.h"
#include "text/StringIds.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<char>;

Bytes ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

INT_PTR CALLBACK IgnoreMessages(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

class Win32LanguageLibraryTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("vantrel-language-" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        SetProgramFolder(m_folder.string());
    }
    void TearDown() override
    {
        FreeLanguageLibrary();
        SetProgramFolder("");
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }
    void Install(const char* name, const Bytes& bytes)
    {
        std::ofstream out(m_folder / name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
    }
    static Bytes Built(const char* name) { return ReadBytes(fs::path(VANTREL_BIN_DIR) / name); }

    fs::path m_folder;
};

TEST_F(Win32LanguageLibraryTest, EveryStringOfTheSourcesIsInItsLibrary)
{
    const struct {
        const char* name;
        int index;
        uint16_t language;
    } libraries[] = {{"English.dll", 1, LANGID_ENGLISH}, {"Italiano.dll", 0, LANGID_ITALIAN}};
    for (const auto& library : libraries) {
        SCOPED_TRACE(library.name);
        Install(library.name, Built(library.name));
        ASSERT_EQ(LoadLanguageLibraryFor(library.index), library.language);
        std::map<int, std::string> source;
        const std::string folder = std::string(library.name).substr(0, std::string(library.name).size() - 4);
        ASSERT_TRUE(ReadFlatJsonStrings(VANTREL_SOURCE_DIR "/resources/" + folder + "/Strings.json", source));
        ASSERT_FALSE(source.empty());
        for (const auto& [id, text] : source) {
            EXPECT_EQ(LoadLanguageString(id), text) << id;
            std::unique_ptr<char[]> buffer(static_cast<char*>(LoadLanguageResource(id, RT_STRING)));
            ASSERT_NE(buffer, nullptr);
            EXPECT_EQ(std::string(buffer.get()), text.substr(0, LANGUAGE_STRING_BUFFER - 1)) << id;
        }
        EXPECT_EQ(LoadLanguageString(999), "");
        FreeLanguageLibrary();
    }
}

TEST_F(Win32LanguageLibraryTest, EveryTemplateMakesItsPageWithItsControls)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_ANIMATE_CLASS};
    ASSERT_TRUE(InitCommonControlsEx(&controls));
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    for (const char* library : {"English.dll", "Italiano.dll"}) {
        Install("English.dll", Built(library));
        ASSERT_EQ(LoadLanguageLibraryFor(1), LANGID_ENGLISH);
        for (int page : {IDD_DIRLIST, IDD_CONFIG, IDD_ABOUT, IDD_GRABSCREEN}) {
            SCOPED_TRACE(testing::Message() << library << " template " << page);
            size_t size = 0;
            auto* tmpl = static_cast<const DLGTEMPLATE*>(LoadLanguageResource(page, RT_DIALOG, &size));
            ASSERT_NE(tmpl, nullptr);
            HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), tmpl, parent, IgnoreMessages, 0);
            ASSERT_NE(dialog, nullptr) << GetLastError();
            for (const TemplateControl& control : TEMPLATE_CONTROLS) {
                if (control.tmpl != page)
                    continue;
                EXPECT_NE(GetDlgItem(dialog, control.id), nullptr) << control.name;
            }
            // The picture control's size in pixels depends on the font; the
            // page makes it hold the picture whole (win32_gui_tests).
            DestroyWindow(dialog);
        }
        FreeLanguageLibrary();
    }

    // The file-name dialog, from the program's own resources.
    HRSRC own = FindResourceW(nullptr, MAKEINTRESOURCEW(IDD_INPUT_STRING), MAKEINTRESOURCEW(5));
    ASSERT_NE(own, nullptr);
    auto* tmpl = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(nullptr, own)));
    HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), tmpl, nullptr, IgnoreMessages, 0);
    ASSERT_NE(dialog, nullptr) << GetLastError();
    for (int id : {IDC_INPUT, IDC_PROMPT, IDOK, IDCANCEL})
        EXPECT_NE(GetDlgItem(dialog, id), nullptr) << id;
    EXPECT_NE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    DestroyWindow(dialog);
    DestroyWindow(parent);
}

TEST_F(Win32LanguageLibraryTest, DamagedAndForeignLibrariesAreRefused)
{
    const Bytes whole = Built("English.dll");
    ASSERT_GT(whole.size(), 4096u);
    for (size_t length : {size_t(0), size_t(64), size_t(1024), whole.size() / 2, whole.size() - 1}) {
        Install("English.dll", Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(length)));
        EXPECT_EQ(LoadLanguageLibraryFor(1), 0) << length;
        EXPECT_EQ(g_hLangLibrary, nullptr);
    }
    // A library of the system: sound, with string tables, but not ours.
    wchar_t system[MAX_PATH] = {};
    ASSERT_NE(GetSystemDirectoryW(system, MAX_PATH), 0u);
    const Bytes foreign = ReadBytes(fs::path(system) / L"comctl32.dll");
    ASSERT_FALSE(foreign.empty());
    Install("English.dll", foreign);
    EXPECT_EQ(LoadLanguageLibraryFor(1), 0);
    Install("English.dll", Bytes(5000, '\xff'));
    EXPECT_EQ(LoadLanguageLibraryFor(1), 0);
    // Italian damaged, English sound: English it is.
    Install("English.dll", whole);
    Install("Italiano.dll", Bytes(whole.begin(), whole.begin() + 3000));
    EXPECT_EQ(LoadLanguageLibraryFor(0), LANGID_ENGLISH);
}

TEST_F(Win32LanguageLibraryTest, ProgramsOwnTableIsItalianOnlyAndTheProgramFolderIsItsOwn)
{
    std::map<int, std::string> source;
    ASSERT_TRUE(ReadFlatJsonStrings(VANTREL_SOURCE_DIR "/resources/program/Strings1040.json", source));
    for (const auto& [id, text] : source)
        EXPECT_EQ(LoadOwnString(id), text) << id;
    EXPECT_EQ(LoadOwnString(IDS_SHEET_CAPTION), "Vantrel 92");
    EXPECT_EQ(LoadOwnString(IDS_SHEET_CAPTION, LANGID_ENGLISH), "");
    EXPECT_EQ(LoadOwnString(IDS_PORT_NOT_OPENED), "");

    SetProgramFolder("");
    wchar_t self[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    EXPECT_EQ(fs::path(ProgramFolder()), fs::path(self).parent_path());
}

} // namespace
