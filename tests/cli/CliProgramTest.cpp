#include "../transfer/TempFolder.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QJsonDocument>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace {

struct ProgramRun {
    int status;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string ReadText(const std::string& path)
{
    const std::vector<uint8_t> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// Runs the built program, as a user would, with its own settings folder.
ProgramRun RunProgram(const std::string& program, const std::string& args, const CTempFolder& folder)
{
    const std::string command = "XDG_CONFIG_HOME=" + Quote(folder.Path()) + " " + Quote(program) + " " + args +
                                " > " + Quote(folder.File("out")) + " 2> " + Quote(folder.File("err")) +
                                " < /dev/null";
    const int result = std::system(command.c_str());
    return {WIFEXITED(result) ? WEXITSTATUS(result) : -1, ReadText(folder.File("out")), ReadText(folder.File("err"))};
}

} // namespace

TEST(CliProgram, UsageErrorsGiveStatusTwoAndAOneLineHint)
{
    CTempFolder folder;
    for (const std::string args : {"", "frobnicate", "dir --bogus", "get", "get nofolder", "--timeout 0 dir",
                                   "--port 0x123 dir", "screen a.png --zoom 3", "send"}) {
        const ProgramRun run = RunProgram(VANTREL_CLI_PROGRAM, args, folder);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_EQ(run.out, "") << args;
        ASSERT_FALSE(run.err.empty()) << args;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << args << ": " << run.err;
        EXPECT_NE(run.err.find("--help"), std::string::npos) << run.err;
    }
}

TEST(CliProgram, HelpAndVersionGoToStandardOutput)
{
    CTempFolder folder;
    ProgramRun run = RunProgram(VANTREL_CLI_PROGRAM, "--version", folder);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "vantrel92-cli 1.2.0.0\n");
    run = RunProgram(VANTREL_CLI_PROGRAM, "--help", folder);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("Usage: vantrel92-cli"), std::string::npos);
    EXPECT_EQ(run.err, "");
}

TEST(CliProgram, ALauncherLinkedFromElsewhereFindsTheLanguageLibraries)
{
    CTempFolder folder;
    const std::string launcher = folder.File("vantrel92-cli");
    std::filesystem::create_symlink(VANTREL_CLI_PROGRAM, launcher);
    const ProgramRun run = RunProgram(launcher, "--simulate dir --json", folder);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).isNull()) << run.out;

    const ProgramRun get = RunProgram(launcher, "--simulate get main/greeting -C " + Quote(folder.Path()), folder);
    ASSERT_EQ(get.status, 0) << get.err;
    EXPECT_EQ(get.err, "The file has been received.\n");
    EXPECT_TRUE(std::filesystem::exists(folder.File("greeting.92s")));
}
