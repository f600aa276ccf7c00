#include "link/VarTypes.h"
#include "TempFolder.h"
#include "transfer/VarFileReader.h"
#include "transfer/VariableFile.h"
#include "TransferScript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <sstream>

namespace {

uint32_t Le32(const Bytes& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

uint16_t Le16(const Bytes& b, size_t at)
{
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

std::istringstream Stream(const Bytes& bytes)
{
    return std::istringstream(std::string(bytes.begin(), bytes.end()), std::ios::binary);
}

VarFileCheck CheckBytes(const Bytes& bytes)
{
    std::istringstream in = Stream(bytes);
    CVarFileReader reader(in);
    return reader.Check();
}

Bytes SectionOf(CVarFileReader& reader, size_t index)
{
    uint8_t prefix[SECTION_PREFIX_SIZE];
    const uint64_t offset = reader.GetSectionOffset(index);
    if (!reader.ReadAt(offset, prefix, sizeof prefix))
        return {};
    Bytes section(SectionLengthFromPrefix(prefix));
    if (!reader.ReadAt(offset, section.data(), section.size()))
        return {};
    return section;
}

Bytes GroupFile(const std::vector<std::pair<std::string, Bytes>>& variables)
{
    CVarFileBuilder builder(static_cast<uint16_t>(variables.size()));
    for (const auto& [name, section] : variables)
        EXPECT_TRUE(builder.AddVariable(name, VAR_STR, 0, section.data(), section.size()));
    return builder.Finish();
}

} // namespace

TEST(VariableFile, SingleFileOfTenByteVariableIsOneHundredBytes)
{
    const Bytes section = Section(Contents(10));
    CVarFileBuilder builder(1);
    ASSERT_TRUE(builder.AddVariable("x", VAR_EXPR, 0x02, section.data(), section.size()));
    const Bytes file = builder.Finish();

    ASSERT_EQ(file.size(), 100u);
    EXPECT_EQ(std::memcmp(file.data(), "**TI92**", 8), 0);
    EXPECT_EQ(Le16(file, 8), 1);
    EXPECT_EQ(std::memcmp(file.data() + 10, "main\0\0\0\0", 8), 0);
    EXPECT_EQ(Bytes(file.begin() + 18, file.begin() + 58), Bytes(40, 0));
    EXPECT_EQ(Le16(file, 58), 1);
    // Entry: offset 82, name zero-padded, type, attributes, reserved zero.
    EXPECT_EQ(Le32(file, 60), 82u);
    EXPECT_EQ(std::memcmp(file.data() + 64, "x\0\0\0\0\0\0\0", 8), 0);
    EXPECT_EQ(file[72], VAR_EXPR);
    EXPECT_EQ(file[73], 0x02);
    EXPECT_EQ(Le16(file, 74), 0);
    EXPECT_EQ(Bytes(file.begin() + 76, file.begin() + 82), Bytes({0x64, 0, 0, 0, 0xA5, 0x5A}));
    EXPECT_EQ(Bytes(file.begin() + 82, file.begin() + 98), section);
    EXPECT_EQ(Le16(file, 98), MakeChecksum(section.data(), section.size()));
}

TEST(VariableFile, BuilderNeverHandsOverAFileWithEmptyEntries)
{
    const Bytes section = Section(Contents(3));
    CVarFileBuilder builder(2);
    ASSERT_TRUE(builder.AddVariable("a", VAR_STR, 0, section.data(), section.size()));
    EXPECT_TRUE(builder.Finish().empty());

    CVarFileBuilder full(1);
    ASSERT_TRUE(full.AddVariable("a", VAR_STR, 0, section.data(), section.size()));
    EXPECT_FALSE(full.AddVariable("b", VAR_STR, 0, section.data(), section.size()));
}

TEST(VariableFile, NamesFillTheFieldWithoutTerminatorAndShorterOnesArePadded)
{
    const Bytes file = GroupFile({{"abcdefgh", Section(Contents(1))}, {"ab", Section(Contents(2))}});
    EXPECT_EQ(std::memcmp(file.data() + 64, "abcdefgh", 8), 0);
    EXPECT_EQ(std::memcmp(file.data() + 80, "ab\0\0\0\0\0\0", 8), 0);

    std::istringstream in = Stream(file);
    CVarFileReader reader(in);
    ASSERT_EQ(reader.Check(), VarFileCheck::Ok);
    EXPECT_EQ(reader.GetDefaultFolder(), "main");
    ASSERT_EQ(reader.GetEntries().size(), 2u);
    EXPECT_EQ(reader.GetEntries()[0].name, "abcdefgh");
    EXPECT_EQ(reader.GetEntries()[1].name, "ab");
}

TEST(VariableFile, GroupFileHasTheStandardLayoutOfTheSampleGroupFile)
{
    // The sample holds a folder entry and the strings X and Y; written again
    // without the folder entry, the sections and their sums must be the very
    // same bytes, and the size block and offsets must follow the same rules.
    const Bytes sample = ReadBytes(SamplePath("group.92g"));
    ASSERT_EQ(sample.size(), 142u);
    std::istringstream in = Stream(sample);
    CVarFileReader reader(in);
    ASSERT_EQ(reader.Check(), VarFileCheck::Ok);
    const Bytes x = SectionOf(reader, 1);
    const Bytes y = SectionOf(reader, 2);

    const Bytes file = GroupFile({{"X", x}, {"Y", y}});
    const size_t dataStart = 60 + 16 * 2 + 6;
    EXPECT_EQ(Bytes(file.begin() + dataStart, file.end()), Bytes(sample.begin() + 114, sample.end()));
    EXPECT_EQ(Le32(file, 60), dataStart);
    EXPECT_EQ(Le32(file, 76), dataStart + x.size() + 2);
    EXPECT_EQ(Le32(file, 92), file.size());
    EXPECT_EQ(file[96], 0xA5);
    EXPECT_EQ(file[97], 0x5A);
    EXPECT_EQ(Le16(file, file.size() - 2), MakeChecksum(y.data(), y.size()));
}

TEST(VariableFile, ReadsTheSampleFilesOfAnotherProgram)
{
    std::ifstream single(SamplePath("str.92s"), std::ios::binary);
    CVarFileReader one(single);
    ASSERT_EQ(one.Check(), VarFileCheck::Ok);
    EXPECT_EQ(one.GetDefaultFolder(), "group");
    ASSERT_EQ(one.GetEntries().size(), 1u);
    EXPECT_EQ(one.GetEntries()[0].name, "str");
    EXPECT_EQ(one.GetEntries()[0].type, VAR_STR);
    EXPECT_FALSE(one.IsFolderEntry(0));
    EXPECT_EQ(SectionOf(one, 0), Section({0x00, 'a', 'b', 'c', 0x00, 0x2D}));

    std::ifstream group(SamplePath("group.92g"), std::ios::binary);
    CVarFileReader three(group);
    ASSERT_EQ(three.Check(), VarFileCheck::Ok);
    ASSERT_EQ(three.GetEntries().size(), 3u);
    EXPECT_TRUE(three.IsFolderEntry(0));
    EXPECT_EQ(three.GetEntries()[0].name, "group");
    EXPECT_EQ(three.GetEntries()[1].name, "X");
    EXPECT_EQ(three.GetSectionOffset(1), 114u);
    EXPECT_EQ(three.GetSectionOffset(2), 128u);
    EXPECT_EQ(SectionOf(three, 2), Section({0x00, 'a', 'b', 'c', 0x00, 0x2D}));
}

TEST(VariableFile, ReadsTheOldGroupLayoutWithOneSumAtTheEnd)
{
    const Bytes a = Section(Contents(5, 3));
    const Bytes b = Section(Contents(9, 4));
    Bytes file = GroupFile({{"a", a}, {"b", b}});
    // Rebuild the data part as sections back to back and one sum of both.
    const size_t dataStart = 60 + 32 + 6;
    file.resize(dataStart);
    file.insert(file.end(), a.begin(), a.end());
    file.insert(file.end(), b.begin(), b.end());
    const uint16_t sum = MakeChecksum(b.data(), b.size(), MakeChecksum(a.data(), a.size()));
    AppendLittleEndian16(file, sum);
    file[76] = static_cast<uint8_t>(dataStart + a.size());

    std::istringstream in = Stream(file);
    CVarFileReader reader(in);
    ASSERT_EQ(reader.Check(), VarFileCheck::Ok);
    EXPECT_EQ(SectionOf(reader, 0), a);
    EXPECT_EQ(SectionOf(reader, 1), b);
}

TEST(VariableFile, SingleFileIsReadAtEightyTwoWhateverItsEntrySays)
{
    const Bytes section = Section(Contents(4));
    CVarFileBuilder builder(1);
    builder.AddVariable("f", FOLDER_ENTRY_TYPE, 0, section.data(), section.size());
    Bytes file = builder.Finish();
    file[60] = 100;
    std::istringstream in = Stream(file);
    CVarFileReader reader(in);
    ASSERT_EQ(reader.Check(), VarFileCheck::Ok);
    EXPECT_EQ(reader.GetSectionOffset(0), 82u);
    // A lone entry of the folder type is a variable of that type.
    EXPECT_FALSE(reader.IsFolderEntry(0));
    EXPECT_EQ(SectionOf(reader, 0), section);
}

TEST(VariableFile, RefusesFilesThatCannotHoldWhatTheyAnnounce)
{
    EXPECT_EQ(CheckBytes({}), VarFileCheck::NotVariableFile);
    EXPECT_EQ(CheckBytes(Bytes({'*', '*', 'T', 'I'})), VarFileCheck::NotVariableFile);
    Bytes notOurs = GroupFile({{"a", Section(Contents(2))}, {"b", Section(Contents(2))}});
    notOurs[4] = '8';
    EXPECT_EQ(CheckBytes(notOurs), VarFileCheck::NotVariableFile);

    // An entry count far beyond the entry table the file has.
    Bytes tooMany = GroupFile({{"a", Section(Contents(2))}, {"b", Section(Contents(2))}});
    tooMany[58] = 0xFF;
    tooMany[59] = 0xFF;
    std::istringstream tooManyIn = Stream(tooMany);
    CVarFileReader tooManyReader(tooManyIn);
    EXPECT_EQ(tooManyReader.Check(), VarFileCheck::Damaged);
    EXPECT_EQ(tooManyReader.GetDamage(), VarFileDamage::EntriesBeyondEnd);
    EXPECT_EQ(tooManyReader.GetDamageSubject(), "65535");

    // An offset past the end, and one that leaves no room for the section.
    Bytes farOffset = GroupFile({{"a", Section(Contents(2))}, {"b", Section(Contents(2))}});
    farOffset[79] = 0x01;
    EXPECT_EQ(CheckBytes(farOffset), VarFileCheck::Damaged);

    // V = 65535 makes a section of 65541 bytes, more than a packet carries.
    Bytes huge(60 + 16 + 6, 0);
    std::memcpy(huge.data(), "**TI92**", 8);
    huge[58] = 1;
    Bytes hugeSection = Section(Bytes(0xFFFF, 0x11));
    huge.insert(huge.end(), hugeSection.begin(), hugeSection.end());
    huge.insert(huge.end(), {0, 0});
    EXPECT_EQ(CheckBytes(huge), VarFileCheck::Damaged);

    // Entry count 0: nothing to read, nothing wrong.
    Bytes empty = GroupFile({{"a", Section(Contents(2))}, {"b", Section(Contents(2))}});
    empty[58] = 0;
    EXPECT_EQ(CheckBytes(empty), VarFileCheck::Ok);
}

TEST(VariableFile, NamesTheCalculatorWouldReadOtherwiseAreRefused)
{
    // Sample bytes overwritten at an offset: str.92s has the header folder
    // at 10 and its name "str" at 64; group.92g a folder entry "group" at 64
    // that its variables X and Y go into.
    struct Case {
        const char* sample;
        size_t offset;
        std::string bytes;
        VarFileDamage damage;
        std::string subject;
    };
    const Case cases[] = {
        {"str.92s", 10, std::string("m\\in\0", 5), VarFileDamage::BadName, "m\\in"},
        {"str.92s", 64, "s\\r", VarFileDamage::BadName, "s\\r"},
        {"str.92s", 64, std::string("st\0r", 4), VarFileDamage::BadName, "st\\x00r"},
        {"str.92s", 64, std::string(3, '\0'), VarFileDamage::BadName, ""},
        {"group.92g", 64, std::string("gr\\up\0", 6), VarFileDamage::BadName, "gr\\up"},
        // A folder no variable goes into, and an empty folder, are no harm.
        {"group.92g", 10, std::string("m\\in\0", 5), VarFileDamage::None, ""},
        {"str.92s", 10, std::string(8, '\0'), VarFileDamage::None, ""},
        {"str.92s", 64, "strange", VarFileDamage::None, ""},
    };
    for (const Case& c : cases) {
        Bytes file = ReadBytes(SamplePath(c.sample));
        ASSERT_GE(file.size(), c.offset + c.bytes.size());
        std::copy(c.bytes.begin(), c.bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(c.offset));
        std::istringstream in = Stream(file);
        CVarFileReader reader(in);
        const VarFileCheck expected = c.damage == VarFileDamage::None ? VarFileCheck::Ok : VarFileCheck::Damaged;
        EXPECT_EQ(reader.Check(), expected) << c.sample << " at " << c.offset;
        EXPECT_EQ(reader.GetDamage(), c.damage) << c.sample << " at " << c.offset;
        EXPECT_EQ(reader.GetDamageSubject(), c.subject) << c.sample << " at " << c.offset;
    }
}

TEST(VariableFile, EveryTruncationOfAGroupFileIsRefused)
{
    const Bytes file = GroupFile({{"first", Section(Contents(20))}, {"s", Section(Contents(1))},
                                  {"third", Section(Contents(7))}});
    ASSERT_EQ(CheckBytes(file), VarFileCheck::Ok);
    for (size_t length = 0; length < file.size(); ++length) {
        const VarFileCheck check = CheckBytes(Bytes(file.begin(), file.begin() + length));
        EXPECT_NE(check, VarFileCheck::Ok) << "cut to " << length << " bytes";
    }
}

TEST(VariableFile, HostileBytesNeverCrashAndNeverPointOutsideTheFile)
{
    const Bytes valid = GroupFile({{"first", Section(Contents(20))}, {"s", Section(Contents(1))}});
    std::mt19937 random(92);
    for (int round = 0; round < 3000; ++round) {
        Bytes bytes;
        if (round % 2 == 0) {
            // A valid file with a few bytes changed anywhere.
            bytes = valid;
            for (int k = 0; k < 1 + round % 4; ++k)
                bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        } else {
            // Random bytes behind the signature.
            bytes.resize(8 + random() % 200);
            for (uint8_t& b : bytes)
                b = static_cast<uint8_t>(random());
            std::memcpy(bytes.data(), "**TI92**", 8);
        }
        std::istringstream in = Stream(bytes);
        CVarFileReader reader(in);
        if (reader.Check() != VarFileCheck::Ok)
            continue;
        for (size_t i = 0; i < reader.GetEntries().size(); ++i) {
            if (reader.IsFolderEntry(i))
                continue;
            const Bytes section = SectionOf(reader, i);
            ASSERT_GE(section.size(), SECTION_PREFIX_SIZE) << "round " << round;
            ASSERT_LE(reader.GetSectionOffset(i) + section.size() + 2, bytes.size()) << "round " << round;
        }
    }
}
