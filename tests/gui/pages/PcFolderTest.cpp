#include "gui/pages/PcFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// A scratch folder tree; the process's current directory is restored after.
class PcFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = fs::current_path();
        char pattern[] = "/tmp/vantrel-pcfolder-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_root = fs::canonical(pattern);
        fs::create_directories(m_root / "alpha" / "inner");
        fs::create_directories(m_root / "Beta");
        fs::create_directories(m_root / ".hidden");
        Touch(m_root / "zeta.92e");
        Touch(m_root / "Apple.92g");
        Touch(m_root / ".profile");
        Touch(m_root / "alpha" / "x.92s");
        fs::create_directory_symlink(m_root / "Beta", m_root / "link-to-beta");
    }
    void TearDown() override
    {
        fs::current_path(m_previous);
        fs::remove_all(m_root);
    }
    static void Touch(const fs::path& p) { std::ofstream(p) << "x"; }

    static std::vector<std::string> Labels(const CPcFolder& folder)
    {
        std::vector<std::string> labels;
        for (const CPcFolder::Item& item : folder.GetFolders())
            labels.push_back(item.label);
        return labels;
    }
    static const CPcFolder::Item* Find(const CPcFolder& folder, const std::string& label)
    {
        for (const CPcFolder::Item& item : folder.GetFolders())
            if (item.label == label)
                return &item;
        return nullptr;
    }

    fs::path m_previous;
    fs::path m_root;
};

} // namespace

TEST_F(PcFolderTest, ListsSubfoldersParentPlacesAndFilesAndFollowsTheCurrentDirectory)
{
    CPcFolder folder;
    folder.SetMountTable("/nonexistent");
    ASSERT_TRUE(folder.Show(m_root.string()));
    EXPECT_EQ(folder.GetPath(), m_root.string());
    EXPECT_EQ(fs::current_path(), m_root);

    const std::vector<std::string> expected = {"[..]", "[alpha]", "[Beta]", "[link-to-beta]", "[-/-]",
                                               "[-~-]"};
    EXPECT_EQ(Labels(folder), expected);
    EXPECT_EQ(folder.GetFiles(), (std::vector<std::string>{"Apple.92g", "zeta.92e"}));
    EXPECT_EQ(Find(folder, "[-~-]")->target, CPcFolder::HomeFolder());

    // Into a subfolder, then back through the parent entry.
    ASSERT_TRUE(folder.Show(Find(folder, "[alpha]")->target));
    EXPECT_EQ(folder.GetPath(), (m_root / "alpha").string());
    EXPECT_EQ(fs::current_path(), m_root / "alpha");
    EXPECT_EQ(Labels(folder)[1], "[inner]");
    EXPECT_EQ(folder.GetFiles(), std::vector<std::string>{"x.92s"});

    ASSERT_TRUE(folder.Show(Find(folder, "[..]")->target));
    EXPECT_EQ(folder.GetPath(), m_root.string());
    EXPECT_EQ(fs::current_path(), m_root);

    // Relative paths are taken from the current folder.
    ASSERT_TRUE(folder.Show("Beta"));
    EXPECT_EQ(fs::current_path(), m_root / "Beta");
    EXPECT_TRUE(folder.GetFiles().empty());

    ASSERT_TRUE(folder.Show("/"));
    EXPECT_EQ(folder.GetPath(), "/");
    EXPECT_EQ(Labels(folder).front().rfind("[..]", 0), std::string::npos); // no parent of the root
}

TEST_F(PcFolderTest, AFolderThatCannotBeEnteredChangesNothing)
{
    CPcFolder folder;
    folder.SetMountTable("/nonexistent");
    ASSERT_TRUE(folder.Show(m_root.string()));
    const auto labels = Labels(folder);

    EXPECT_FALSE(folder.Show((m_root / "missing").string()));
    EXPECT_FALSE(folder.Show((m_root / "zeta.92e").string()));
    EXPECT_FALSE(folder.Show(""));
    EXPECT_EQ(folder.GetPath(), m_root.string());
    EXPECT_EQ(Labels(folder), labels);
    EXPECT_EQ(fs::current_path(), m_root);
}

TEST_F(PcFolderTest, NamesThatAreNotTextAreShownEscapedButReachedIntact)
{
    const std::string raw = std::string("bad\xFF") + "dir";
    fs::create_directory(m_root / raw);
    Touch(m_root / raw / (std::string("f\xFE") + ".92e"));
    CPcFolder folder;
    folder.SetMountTable("/nonexistent");
    ASSERT_TRUE(folder.Show(m_root.string()));
    const CPcFolder::Item* item = Find(folder, "[bad\\xFFdir]");
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(folder.Show(item->target));
    EXPECT_EQ(fs::current_path(), m_root / raw);
    EXPECT_EQ(folder.GetFiles(), std::vector<std::string>{std::string("f\xFE") + ".92e"});
}

TEST_F(PcFolderTest, RemovableMediaComeFromTheMountTable)
{
    const fs::path table = m_root / "mounts";
    std::ofstream(table) << "proc /proc proc rw 0 0\n"
                            "/dev/sda1 / ext4 rw 0 0\n"
                            "/dev/sdb1 /media/user/MY\\040STICK vfat rw 0 0\n"
                            "/dev/sdc1 /run/media/user/CARD exfat rw 0 0\n"
                            "/dev/sdb1 /media/user/MY\\040STICK vfat rw 0 0\n"
                            "garbage\n";
    EXPECT_EQ(CPcFolder::RemovableMedia(table.string()),
              (std::vector<std::string>{"/media/user/MY STICK", "/run/media/user/CARD"}));

    CPcFolder folder;
    folder.SetMountTable(table.string());
    ASSERT_TRUE(folder.Show(m_root.string()));
    const auto labels = Labels(folder);
    EXPECT_EQ(labels[labels.size() - 2], "[-/media/user/MY STICK-]");
    EXPECT_EQ(Find(folder, "[-/run/media/user/CARD-]")->target, "/run/media/user/CARD");
}
