#include "language/DialogTemplate.h"
#include "language/LanguageImageCheck.h"
#include "language/PeResourceReader.h"
#include "text/TextFormat.h"
#include "text/Utf16Text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadFixture(const std::string& name)
{
    std::ifstream in(std::string(TINY_LANGUAGE_DIR) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Get32(const Bytes& b, size_t at) { return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24); }
uint16_t Get16(const Bytes& b, size_t at) { return uint16_t(b[at] | (b[at + 1] << 8)); }
void Put32(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = uint8_t(v >> (8 * i));
}
void Put16(Bytes& b, size_t at, uint16_t v) { b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8); }

// Where the fields the hostile cases change lie in a sound image, found by
// reading the headers by hand.
struct Layout {
    size_t pe, sections, nSections, resourceEntry, tree, firstType, firstName, firstData;
};

Layout Locate(const Bytes& b)
{
    Layout l{};
    l.pe = Get32(b, 0x3C);
    const size_t optional = l.pe + 24;
    l.nSections = Get16(b, l.pe + 6);
    l.sections = optional + Get16(b, l.pe + 20);
    l.resourceEntry = optional + (Get16(b, optional) == 0x20B ? 112 : 96) + 2 * 8;
    const uint32_t rva = Get32(b, l.resourceEntry);
    for (size_t i = 0; i < l.nSections; ++i) {
        const size_t s = l.sections + 40 * i;
        if (rva >= Get32(b, s + 12) && rva < Get32(b, s + 12) + Get32(b, s + 16))
            l.tree = Get32(b, s + 20) + (rva - Get32(b, s + 12));
    }
    l.firstType = l.tree + (Get32(b, l.tree + 16 + 4) & 0x7FFFFFFF);
    l.firstName = l.tree + (Get32(b, l.firstType + 16 + 4) & 0x7FFFFFFF);
    l.firstData = l.tree + Get32(b, l.firstName + 16 + 4);
    return l;
}

bool Opens(const Bytes& bytes)
{
    CPeResourceReader reader;
    return reader.Open(bytes.data(), bytes.size());
}

class PeResourceReaderTest : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        m_image = ReadFixture(GetParam());
        ASSERT_GT(m_image.size(), 1024u);
    }
    Bytes m_image;
};

TEST_P(PeResourceReaderTest, ReadsStringsTemplatesAndTheirLanguage)
{
    CPeResourceReader reader;
    ASSERT_TRUE(reader.Open(m_image.data(), m_image.size()));
    EXPECT_TRUE(reader.IsDll());
    EXPECT_TRUE(IsWholeLanguageImage(m_image.data(), m_image.size()));

    std::u16string text;
    ASSERT_TRUE(reader.FindString(123, text));
    EXPECT_EQ(text, u"line\r\nnext %s");
    ASSERT_TRUE(reader.FindString(135, text));
    EXPECT_EQ(Utf16ToUtf8(text), "gi\xC3\xA0 \xE2\x82\xAC \xF0\x9F\x98\x80");
    EXPECT_FALSE(reader.FindString(112, text)); // an empty place in a block
    EXPECT_FALSE(reader.FindString(200, text)); // a block that is not there
    const std::vector<uint16_t> ids = reader.GetStringIds();
    EXPECT_EQ(std::set<uint16_t>(ids.begin(), ids.end()), std::set<uint16_t>(REQUIRED_LANGUAGE_STRINGS));

    for (const CPeResourceReader::Resource& resource : reader.GetResources())
        EXPECT_EQ(resource.language, 1033) << resource.type << "/" << resource.id;
    EXPECT_EQ(reader.Find(PE_RT_DIALOG, 101), nullptr);
    const CPeResourceReader::Resource* tmpl = reader.Find(PE_RT_DIALOG, 100);
    ASSERT_NE(tmpl, nullptr);
    DialogTemplate dialog;
    ASSERT_TRUE(ParseDialogTemplate(tmpl->data, tmpl->size, dialog));
    EXPECT_EQ(dialog.title, u"Tiny");
    EXPECT_EQ(dialog.typeface, u"MS Shell Dlg");
    EXPECT_EQ(dialog.pointSize, 8);
    ASSERT_EQ(dialog.controls.size(), 2u);
    EXPECT_EQ(dialog.controls[0].id, 1027u);
    EXPECT_EQ(dialog.controls[0].windowClass, u"BUTTON"); // given by number
    EXPECT_EQ(dialog.controls[0].text, u"&Go");
    EXPECT_EQ(dialog.controls[1].id, 1001u);
    EXPECT_EQ(dialog.controls[1].style & 0x4, 0x4u);
    EXPECT_EQ(dialog.controls[1].cx, 40);

    // Every cut of a template is refused, read within what is left.
    for (size_t length = 0; length < tmpl->size; ++length) {
        const Bytes cut(tmpl->data, tmpl->data + length);
        EXPECT_FALSE(ParseDialogTemplate(cut.data(), cut.size(), dialog)) << length;
    }
}

// A copy of exactly `length` bytes, so that the sanitizer build sees any
// read beyond it.
TEST_P(PeResourceReaderTest, TruncatedImagesAreRefusedAtEveryLength)
{
    for (size_t length = 0; length < m_image.size(); ++length) {
        const Bytes cut(m_image.begin(), m_image.begin() + std::ptrdiff_t(length));
        ASSERT_FALSE(Opens(cut)) << length;
        ASSERT_FALSE(IsWholeLanguageImage(cut.data(), cut.size())) << length;
    }
}

TEST_P(PeResourceReaderTest, HostileValuesAreRefused)
{
    const Layout l = Locate(m_image);
    ASSERT_TRUE(Opens(m_image));
    const struct {
        const char* what;
        void (*damage)(Bytes&, const Layout&);
    } cases[] = {
        {"headers beyond the file", [](Bytes& b, const Layout&) { Put32(b, 0x3C, 0xFFFFFFF0); }},
        {"no PE signature", [](Bytes& b, const Layout& l) { b[l.pe] = 'X'; }},
        {"section table beyond the file", [](Bytes& b, const Layout& l) { Put16(b, l.pe + 6, 0xFFFF); }},
        {"optional header beyond the file", [](Bytes& b, const Layout& l) { Put16(b, l.pe + 20, 0xFFF0); }},
        {"section data beyond the file",
         [](Bytes& b, const Layout& l) { Put32(b, l.sections + 40 * (l.nSections - 1) + 20, 0x7FFFFFF0); }},
        {"section size wrapping round",
         [](Bytes& b, const Layout& l) { Put32(b, l.sections + 40 * (l.nSections - 1) + 16, 0xFFFFFFFF); }},
        {"resource tree outside every section", [](Bytes& b, const Layout& l) { Put32(b, l.resourceEntry, 0x7FFF0000); }},
        {"resource tree longer than its section", [](Bytes& b, const Layout& l) { Put32(b, l.resourceEntry + 4, 0x00FFFFFF); }},
        {"more entries than the tree holds", [](Bytes& b, const Layout& l) { Put16(b, l.tree + 14, 0xFFFF); }},
        {"subdirectory outside the tree", [](Bytes& b, const Layout& l) { Put32(b, l.tree + 20, 0x80FFFFF0); }},
        {"loop back to the root", [](Bytes& b, const Layout& l) { Put32(b, l.firstType + 20, 0x80000000); }},
        {"data where a directory belongs", [](Bytes& b, const Layout& l) { Put32(b, l.tree + 20, 0x00000010); }},
        {"directory where data belongs", [](Bytes& b, const Layout& l) { Put32(b, l.firstName + 20, 0x80000000); }},
        {"name string outside the tree", [](Bytes& b, const Layout& l) { Put32(b, l.tree + 16, 0xFFFFFFF0); }},
        {"data outside every section", [](Bytes& b, const Layout& l) { Put32(b, l.firstData, 0x7FFF0000); }},
        {"data size wrapping round", [](Bytes& b, const Layout& l) { Put32(b, l.firstData + 4, 0xFFFFFFFF); }},
    };
    for (const auto& c : cases) {
        Bytes damaged = m_image;
        c.damage(damaged, l);
        EXPECT_FALSE(Opens(damaged)) << c.what;
        EXPECT_FALSE(IsWholeLanguageImage(damaged.data(), damaged.size())) << c.what;
    }
}

TEST_P(PeResourceReaderTest, DamageAnywhereNeverReadsOutsideTheImage)
{
    for (size_t at = 0; at < m_image.size(); ++at) {
        for (uint8_t value : {0x00, 0x7F, 0xFF}) {
            Bytes damaged = m_image;
            damaged[at] = value;
            // Either answer may be right; the sanitizer build checks that
            // no byte outside the image is read on the way.
            CPeResourceReader reader;
            if (reader.Open(damaged.data(), damaged.size())) {
                std::u16string text;
                for (uint16_t id : reader.GetStringIds())
                    reader.FindString(id, text);
            }
            IsWholeLanguageImage(damaged.data(), damaged.size());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothImageKinds, PeResourceReaderTest, testing::Values("Tiny32.dll", "Tiny64.dll"));

TEST(LanguageImageCheckTest, LibrariesWithoutTheirStringsOrNotLibrariesAreRefused)
{
    Bytes image = ReadFixture("Tiny32.dll");
    const Layout l = Locate(image);
    Bytes notDll = image;
    Put16(notDll, l.pe + 22, Get16(notDll, l.pe + 22) & ~0x2000);
    EXPECT_TRUE(Opens(notDll));
    EXPECT_FALSE(IsWholeLanguageImage(notDll.data(), notDll.size()));

    // The block of strings 112 to 127 renamed to another number: a sound
    // library, but not one of ours.
    const size_t nTypes = Get16(image, l.tree + 12) + Get16(image, l.tree + 14);
    size_t names = 0;
    for (size_t i = 0; i < nTypes; ++i) {
        if (Get32(image, l.tree + 16 + 8 * i) == PE_RT_STRING)
            names = l.tree + (Get32(image, l.tree + 16 + 8 * i + 4) & 0x7FFFFFFF);
    }
    ASSERT_NE(names, 0u);
    const size_t nBlocks = Get16(image, names + 12) + Get16(image, names + 14);
    Bytes renamed = image;
    for (size_t i = 0; i < nBlocks; ++i) {
        if (Get32(renamed, names + 16 + 8 * i) == 124 / 16 + 1)
            Put32(renamed, names + 16 + 8 * i, 0x30);
    }
    EXPECT_TRUE(Opens(renamed));
    EXPECT_FALSE(IsWholeLanguageImage(renamed.data(), renamed.size()));
}

TEST(Utf16TextTest, ConvertsBothWaysAndReplacesBrokenCharacters)
{
    const struct {
        std::u16string wide;
        std::string narrow;
    } exact[] = {
        {u"", ""},
        {u"Cartella", "Cartella"},
        {u"gi\u00e0 \u20ac", "gi\xC3\xA0 \xE2\x82\xAC"},
        {u"\U0001F600", "\xF0\x9F\x98\x80"},
    };
    for (const auto& c : exact) {
        EXPECT_EQ(Utf16ToUtf8(c.wide), c.narrow);
        EXPECT_EQ(Utf8ToUtf16(c.narrow), c.wide);
    }
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"a"), "\xEF\xBF\xBD" "a");
    EXPECT_EQ(Utf8ToUtf16("a\xC3"), u"a\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD"); // an overlong zero
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD"); // a surrogate written out
#ifdef _WIN32
    // Windows' wide strings go the same way.
    for (const auto& c : exact) {
        const std::wstring wide(c.wide.begin(), c.wide.end());
        EXPECT_EQ(Utf16ToUtf8(wide), c.narrow);
        EXPECT_EQ(Utf8ToWide(c.narrow), wide);
    }
    EXPECT_EQ(Utf16ToUtf8(std::wstring(1, wchar_t(0xDC00))), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8ToWide("a\xC3"), L"a\uFFFD");
#endif
}

TEST(TextFormatTest, FillsEachMarkInOrderAndNothingElse)
{
    const struct {
        const char* pattern;
        std::initializer_list<std::string_view> args;
        const char* text;
    } cases[] = {
        {"%s bytes", {"222"}, "222 bytes"},
        {"%s of %s bytes", {"6,061", "12,088"}, "6,061 of 12,088 bytes"},
        {"Cannot open %s: %s.", {"%s", "no"}, "Cannot open %s: no."}, // an argument is not scanned again
        {"%s (error %s).", {"Busy"}, "Busy (error %s)."},              // too few: the mark shows the gap
        {"File %s saved", {""}, "File  saved"},                        // an empty argument fills with nothing
        {"Done.", {"x"}, "Done."},
        {"100%", {"x"}, "100%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatText(c.pattern, c.args), c.text) << c.pattern;
    EXPECT_EQ(GroupedDigits(0), "0");
    EXPECT_EQ(GroupedDigits(999), "999");
    EXPECT_EQ(GroupedDigits(18446744073709551615u), "18,446,744,073,709,551,615");
}

} // namespace
