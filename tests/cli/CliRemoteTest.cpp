#include "CliFixture.h"
#include "link/VarTypes.h"
#include "PictureFile.h"

#include <string>
#include <vector>

namespace {

// keys, run, delete and mkdir against the simulated calculator, which keeps
// what one run did for the next.
class CliRemote : public CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        m_calc.AddVariable("main", "hello", VAR_PRG, 0, {0x00, 0xE9});
    }
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> entries;
        for (const auto& [entry, answer] : m_calc.Home().GetHistory())
            entries.push_back(entry);
        return entries;
    }
    bool Lists(const std::string& folder, const std::string& name)
    {
        return Run({"--simulate", "dir"}) == 0 && Out().find(folder) != std::string::npos &&
               (name.empty() || Out().find(name) != std::string::npos);
    }
};

} // namespace

TEST_F(CliRemote, KeysTypeOnTheHomeScreenThatTheScreenCommandSaves)
{
    ASSERT_EQ(Run({"--simulate", "keys", "HOME", "CLEAR", "2+3", "ENTER", "\"X2\"", "SHIFT+2ND+LEFT"}), 0) << Err();
    EXPECT_EQ(Err(), "");
    ASSERT_EQ(m_calc.Home().GetHistory().size(), 1u);
    EXPECT_EQ(m_calc.Home().GetHistory()[0], (std::pair<std::string, std::string>{"2+3", "5"}));
    EXPECT_EQ(m_calc.Home().GetEntry(), "X2");

    const std::string path = m_work.File("typed.png");
    ASSERT_EQ(Run({"--simulate", "screen", path}), 0) << Err();
    const PictureFile picture = ReadPictureFile(path);
    ASSERT_EQ(picture.width, 240);
    int wrong = 0;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 240; ++x)
            wrong += picture.IsDark(x, y) != ((m_calc.Screen()[size_t(y * 30 + x / 8)] & (0x80 >> (x % 8))) != 0);
    EXPECT_EQ(wrong, 0) << "the saved screen is the one with the typed line";

    // Refused before the port is touched: nothing reaches the calculator.
    for (const std::vector<std::string>& args : {std::vector<std::string>{"keys", "HOMEE"},
                                                 {"keys", "ENTER", "caf\xC3\xA9"}, {"keys"}}) {
        std::vector<std::string> command{"--simulate"};
        command.insert(command.end(), args.begin(), args.end());
        EXPECT_EQ(Run(command), 2) << args.back();
        EXPECT_NE(Err().find("(see vantrel92-cli --help)"), std::string::npos) << Err();
    }
    EXPECT_EQ(m_calc.Home().GetEntry(), "X2");
}

TEST_F(CliRemote, DeleteAsksUnlessYesAndTheDirectoryShowsTheChange)
{
    EXPECT_EQ(Run({"--simulate", "delete", "main\\year"}), 5);
    EXPECT_NE(Err().find("add --yes"), std::string::npos) << Err();
    EXPECT_NE(Err().find("nothing was changed"), std::string::npos) << Err();
    EXPECT_NE(m_calc.FindVariable("main", "year"), nullptr);

    EXPECT_EQ(Run({"--simulate", "delete", "main\\year", "algebra/poly", "main\\gone", "--yes"}), 4);
    EXPECT_NE(Err().find("main\\gone is not on the calculator. Nothing was sent."), std::string::npos) << Err();
    EXPECT_FALSE(m_calc.Home().IsInUse());

    ASSERT_EQ(Run({"--simulate", "delete", "--yes", "main\\year", "algebra/poly"}), 0) << Err();
    EXPECT_EQ(Entries(), (std::vector<std::string>{"delvar main\\year", "delvar algebra\\poly"}));
    ASSERT_EQ(Run({"--simulate", "dir"}), 0);
    EXPECT_EQ(Out().find("year"), std::string::npos) << Out();
    EXPECT_EQ(Out().find("poly"), std::string::npos) << Out();
    EXPECT_NE(Out().find("primes"), std::string::npos) << Out();
}

TEST_F(CliRemote, MkdirAndRunAndWhatTheyRefuse)
{
    ASSERT_EQ(Run({"--simulate", "mkdir", "Games"}), 0) << Err();
    EXPECT_TRUE(Lists("games", ""));
    EXPECT_EQ(Run({"--simulate", "mkdir", "games"}), 4);
    EXPECT_EQ(Run({"--simulate", "mkdir", "9lives"}), 2);
    EXPECT_NE(Err().find("does not start with a letter"), std::string::npos) << Err();

    ASSERT_EQ(Run({"--simulate", "run", "main\\hello(1,2)"}), 0) << Err();
    ASSERT_EQ(Run({"--simulate", "run", "main/hello"}), 0) << Err();
    EXPECT_EQ(Entries().back(), "main\\hello()");
    EXPECT_EQ(m_calc.Home().GetHistory().back().second, "Done");
    EXPECT_EQ(Run({"--simulate", "run", "main\\year(1)"}), 2);
    EXPECT_EQ(Run({"--simulate", "run", "main\\nope"}), 4);
    EXPECT_EQ(Run({"--simulate", "run", "hello(1)"}), 2);
    EXPECT_EQ(Run({"--simulate", "run", "main\\hello(1"}), 2);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"delvar games\\vantrel", "main\\hello(1,2)", "main\\hello()"}))
        << "the folder's maker deleted, the program run twice, nothing more";
}
