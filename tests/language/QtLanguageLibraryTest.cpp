#include "QtProgramFixture.h"

#include "language/LanguageImageCheck.h"
#include "language/LanguageLibrary.h"
#include "language/LanguageLibraryLoader.h"
#include "language/OwnResources.h"
#include "language/RccBundleCheck.h"
#include "resources/ControlIds.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstring>
#include <memory>

namespace {

class LanguageTest : public CQtProgramFixture {
protected:
    // The text of a string through the caller-owned buffer.
    static std::string StringResource(int id)
    {
        std::unique_ptr<char[]> buffer(static_cast<char*>(LoadLanguageResource(id, RT_STRING)));
        return buffer ? std::string(buffer.get()) : std::string("(null)");
    }
};

TEST_F(LanguageTest, ChoosesTheLibraryFromTheStoredIndex)
{
    const struct {
        bool bEnglish;
        bool bItalian;
        int nIndex;
        uint16_t expected;
    } cases[] = {
        {true, true, 0, LANGID_ITALIAN},
        {true, true, 1, LANGID_ENGLISH},
        {true, false, 0, LANGID_ENGLISH}, // Italian missing: falls back
        {false, true, 1, 0},            // English asked for, only Italian present
        {true, true, 2, 0},             // an index the program never writes
        {true, true, -1, 0},
        {false, false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "english " << c.bEnglish << " italian " << c.bItalian << " index " << c.nIndex);
        QDir(QString::fromStdString(ProgramDir())).removeRecursively();
        QDir().mkpath(QString::fromStdString(ProgramDir()));
        if (c.bEnglish)
            Install("English.dll");
        if (c.bItalian)
            Install("Italiano.dll");
        EXPECT_EQ(LoadLanguageLibraryFor(c.nIndex), c.expected);
        EXPECT_EQ(g_hLangLibrary != nullptr, c.expected != 0);
        if (c.expected == LANGID_ITALIAN) {
            EXPECT_EQ(LoadLanguageString(IDS_HEAD_FOLDER), "Cartella");
        } else if (c.expected == LANGID_ENGLISH) {
            EXPECT_EQ(LoadLanguageString(IDS_HEAD_FOLDER), "Folder");
        }
        // The core's own texts follow the library; without one, English.
        EXPECT_EQ(ProgramText(IDS_PORT_UNKNOWN_BASE, {"0x378"}).substr(0, 32),
                  c.expected == LANGID_ITALIAN ? "Il kernel non conosce nessuna po" : "No parallel port with base addre");
        FreeLanguageLibrary();
    }
}

TEST_F(LanguageTest, DamagedItalianLibraryFallsBackToEnglish)
{
    Install("English.dll");
    InstallBytes("Italiano.dll", BuiltFile("Italiano.dll").left(4000));
    EXPECT_EQ(LoadLanguageLibraryFor(0), LANGID_ENGLISH);
}

TEST_F(LanguageTest, LibraryIsFoundInTheCurrentDirectoryAfterTheProgramFolder)
{
    QTemporaryDir current;
    const QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(current.path()));
    QFile::copy(QStringLiteral(VANTREL_BIN_DIR "/English.dll"), current.filePath(QStringLiteral("English.dll")));
    EXPECT_EQ(LoadLanguageLibraryFor(1), LANGID_ENGLISH);
    FreeLanguageLibrary();
    // The program folder's copy comes first, even when it cannot be used.
    InstallBytes("English.dll", "not a library");
    EXPECT_EQ(LoadLanguageLibraryFor(1), 0);
    QDir::setCurrent(old);
}

TEST_F(LanguageTest, BothLibrariesHoldEveryStringAndTemplate)
{
    for (const char* library : {LIBRARY_ENGLISH, LIBRARY_ITALIAN}) {
        SCOPED_TRACE(library);
        Install(library);
        g_hLangLibrary = LoadLanguageBundle(library);
        ASSERT_NE(g_hLangLibrary, nullptr);
        for (int id : REQUIRED_LANGUAGE_STRINGS)
            EXPECT_FALSE(LoadLanguageString(id).empty()) << id;
        for (int id : {IDD_ABOUT, IDD_DIRLIST, IDD_CONFIG, IDD_GRABSCREEN}) {
            size_t size = 0;
            const char* tmpl = static_cast<const char*>(LoadLanguageResource(id, RT_DIALOG, &size));
            ASSERT_NE(tmpl, nullptr) << id;
            EXPECT_NE(std::string(tmpl, size).find("<ui"), std::string::npos);
        }
        EXPECT_EQ(LoadLanguageResource(IDD_INPUT_STRING, RT_DIALOG), nullptr); // the program's own, not the library's
        FreeLanguageLibrary();
    }
}

TEST_F(LanguageTest, StringBufferIsOwnedByTheCallerAndCutToFit)
{
    EXPECT_EQ(LoadLanguageResource(200, RT_STRING), nullptr); // no library loaded
    InstallBytes("English.dll", FixtureFile("LongStrings.dll"));
    ASSERT_EQ(LoadLanguageLibraryFor(1), LANGID_ENGLISH);
    EXPECT_EQ(StringResource(200), std::string(254, 'a'));
    // A two-byte character that would straddle the limit is left out whole.
    EXPECT_EQ(StringResource(201), std::string(253, 'a'));
    EXPECT_EQ(StringResource(202), "short");
    EXPECT_EQ(StringResource(999), "");
    // The whole text stays available to the message boxes.
    EXPECT_EQ(LoadLanguageString(200), std::string(300, 'a'));
    // A library without a template: the page then has none.
    EXPECT_EQ(LoadLanguageResource(IDD_ABOUT, RT_DIALOG), nullptr);
}

TEST_F(LanguageTest, CompressedBundleLoadsLikeAPlainOne)
{
    InstallBytes("English.dll", FixtureFile("Compressed.dll"));
    ASSERT_EQ(LoadLanguageLibraryFor(1), LANGID_ENGLISH);
    size_t size = 0;
    const char* tmpl = static_cast<const char*>(LoadLanguageResource(IDD_DIRLIST, RT_DIALOG, &size));
    ASSERT_NE(tmpl, nullptr);
    EXPECT_NE(std::string(tmpl, size).find("IDC_FOLDER_LIST"), std::string::npos);
    EXPECT_EQ(LoadLanguageString(123).substr(0, 8), "Unable t");
}

TEST_F(LanguageTest, LibrariesWithoutUsableContentsAreRefused)
{
    for (const char* fixture : {"BrokenTemplate.dll", "NoStringTable.dll"}) {
        SCOPED_TRACE(fixture);
        InstallBytes("English.dll", FixtureFile(fixture));
        EXPECT_EQ(LoadLanguageLibraryFor(1), 0);
        EXPECT_EQ(g_hLangLibrary, nullptr);
    }
    for (const QByteArray& junk : {QByteArray(), QByteArray("qres"), QByteArray(5000, '\0'), QByteArray(5000, '\xff')}) {
        InstallBytes("English.dll", junk);
        EXPECT_EQ(LoadLanguageLibraryFor(1), 0);
    }
}

// The toolkit trusts the offsets inside a bundle; a cut or damaged file must
// be caught before it reads one (the sanitizer build sees any stray read).
TEST_F(LanguageTest, TruncatedBundlesAreRefusedAtEveryLength)
{
    const QByteArray whole = BuiltFile("English.dll");
    const auto* bytes = reinterpret_cast<const uint8_t*>(whole.constData());
    ASSERT_TRUE(IsWholeRccBundle(bytes, size_t(whole.size())));
    for (qsizetype length = 0; length < whole.size(); ++length) {
        // A copy of exactly `length` bytes, so any read beyond it is caught.
        std::vector<uint8_t> cut(bytes, bytes + length);
        ASSERT_FALSE(IsWholeRccBundle(cut.data(), cut.size())) << length;
    }
    InstallBytes("English.dll", whole.left(whole.size() - 1));
    EXPECT_EQ(LoadLanguageLibraryFor(1), 0);
}

TEST_F(LanguageTest, DamagedStructureNeverReadsOutsideTheBundle)
{
    const QByteArray whole = BuiltFile("English.dll");
    const uint32_t tree = (uint8_t(whole[8]) << 24) | (uint8_t(whole[9]) << 16) | (uint8_t(whole[10]) << 8) | uint8_t(whole[11]);
    ASSERT_LT(tree, uint32_t(whole.size()));
    auto loadsWith = [&](qsizetype at, char value) {
        QByteArray damaged = whole;
        damaged[at] = value;
        InstallBytes("English.dll", damaged);
        const bool loaded = LoadLanguageLibraryFor(1) != 0;
        FreeLanguageLibrary();
        return loaded;
    };
    // A damaged header (magic, version, offsets, flags) is always refused.
    for (qsizetype at = 0; at < 24; ++at) {
        for (char value : {'\x00', '\x7f', '\xff'}) {
            if (whole[at] != value) {
                EXPECT_FALSE(loadsWith(at, value)) << "header byte " << at;
            }
        }
    }
    // A first node that is not a folder is refused, even with sound file
    // data: the toolkit would read its children anyway.
    QByteArray rootFile = whole;
    rootFile[tree + 5] = char(rootFile[tree + 5] & ~0x02);
    rootFile.replace(tree + 10, 4, QByteArray(4, '\0'));
    EXPECT_FALSE(IsWholeRccBundle(reinterpret_cast<const uint8_t*>(rootFile.constData()), size_t(rootFile.size())));
    // Damage in the tree may only rename a node or change a date, so either
    // outcome is right; what counts is that nothing is read out of bounds.
    for (qsizetype at = tree; at < whole.size(); ++at) {
        for (char value : {'\x00', '\x7f', '\xff'})
            loadsWith(at, value);
    }
}

TEST_F(LanguageTest, ProgramsOwnTableIsItalianOnly)
{
    EXPECT_EQ(LoadOwnString(102), "Vantrel 92");
    EXPECT_EQ(LoadOwnString(112), "Nome file");
    EXPECT_EQ(LoadOwnString(103), "Inserisci il nome del file senza estensione\r\nnel quale devo salvare i files:");
    EXPECT_EQ(LoadOwnString(134), "Impossibile creare la finestra.");
    EXPECT_EQ(LoadOwnString(102, LANGID_ENGLISH), "");
    EXPECT_EQ(LoadOwnString(123), ""); // only in the language libraries
}

} // namespace
