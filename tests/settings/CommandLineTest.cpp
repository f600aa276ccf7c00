#include "settings/CommandLine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

namespace {

TEST(CommandLineTest, OnlyTheSimulateOptionIsKnown)
{
    CCommandLine commandLine;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({}, commandLine, error));
    EXPECT_FALSE(commandLine.bSimulate);
    ASSERT_TRUE(ParseCommandLine({"--simulate"}, commandLine, error));
    EXPECT_TRUE(commandLine.bSimulate);
    ASSERT_TRUE(ParseCommandLine({"--help"}, commandLine, error));
    EXPECT_TRUE(commandLine.bHelp);
    EXPECT_FALSE(commandLine.bSimulate);

    using Args = std::vector<std::string>;
    ASSERT_TRUE(ParseCommandLine({"--simulate", "--simulate-send", "main/x", "--simulate-send=backup"}, commandLine,
                                 error));
    EXPECT_EQ(commandLine.simulateSend, (Args{"main\\x", "backup"}));
    for (const Args& wrong : {Args{"--simulated"}, Args{"--simulate", "--simulate"}, Args{"extra"}, Args{"-x"},
                              Args{"--simulate-send", "main/x"}, Args{"--simulate", "--simulate-send", "x"},
                              Args{"--simulate", "--simulate-send"}}) {
        error.clear();
        EXPECT_FALSE(ParseCommandLine(wrong, commandLine, error)) << wrong.back();
        EXPECT_FALSE(error.empty());
    }
    EXPECT_NE(CommandLineUsage("vantrel92").find("--simulate"), std::string::npos);

    // A --simulate folder that is not there is said to be missing, not "not a folder".
    const std::string here = std::filesystem::current_path().string();
    for (const auto& [folder, problem] :
         {std::pair{here, std::string()}, std::pair{here + "/none", here + "/none: does not exist"}}) {
        ASSERT_TRUE(ParseCommandLine({"--simulate=" + folder}, commandLine, error));
        EXPECT_EQ(SimulateFolderProblem(commandLine), problem);
    }
}

} // namespace
