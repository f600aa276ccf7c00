#include "link/VarTypes.h"
#include "TempFolder.h"
#include "transfer/VariableFile.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QJsonDocument>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

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

TEST(CliProgram, HelpAndVersionGoToStandardOutputAlikeForBothPrograms)
{
    CTempFolder folder;
    const std::pair<const char*, const char*> programs[] = {{VANTREL_CLI_PROGRAM, "vantrel92-cli"},
                                                            {VANTREL_GUI_PROGRAM, "vantrel92"}};
    for (const auto& [program, name] : programs) {
        for (const char* option : {"--version", "-V"}) {
            const ProgramRun run = RunProgram(program, option, folder);
            EXPECT_EQ(run.status, 0) << name << " " << option;
            EXPECT_EQ(run.out, std::string(name) + " 1.2.0.0\n") << option;
            EXPECT_EQ(run.err, "") << name << " " << option;
        }
        const ProgramRun help = RunProgram(program, "--help", folder);
        EXPECT_EQ(help.status, 0);
        EXPECT_NE(help.out.find("--version"), std::string::npos) << name << ": " << help.out;
        EXPECT_EQ(help.err, "");
    }
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
    // The settings are only read: none were there, and none are written.
    EXPECT_FALSE(std::filesystem::exists(folder.File("Corvessan")));
}

TEST(CliProgram, ASignalDuringASlowReceiveOrBeforeTheProgramCouldHandleItLeavesNoFileAndGivesStatus130)
{
    // A calculator at 2000 bytes a second holding a 20,000-byte variable.
    CTempFolder folder;
    CTempFolder content;
    std::vector<uint8_t> section{0, 0, 0, 0, 20000 >> 8, 20000 & 0xFF};
    section.resize(20006, 0x41);
    CVarFileBuilder builder(1);
    builder.AddVariable("big", VAR_STR, 0, section.data(), section.size());
    WriteBytes(content.File("big.92s"), builder.Finish());
    const std::string out = folder.File("out");
    std::filesystem::create_directory(out);

    // Everything the child needs is ready before it is forked.
    const std::string simulate = "--simulate=" + content.Path();
    const std::string config = "XDG_CONFIG_HOME=" + folder.Path();
    const std::string errPath = folder.File("err");
    const char* argv[] = {VANTREL_CLI_PROGRAM, simulate.c_str(), "--simulate-rate", "2000", "get", "main/big",
                          "-C", out.c_str(), nullptr};
    const char* envp[] = {config.c_str(), nullptr};
    // Ctrl+C once the receive has begun; the terminal closed; and a kill that
    // came before the program could handle it, held back until it can (as a
    // signal in its first milliseconds is).
    for (const auto& [signal, early] : {std::pair{SIGINT, false}, std::pair{SIGHUP, false}, std::pair{SIGTERM, true}}) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(err, STDERR_FILENO);
            if (early) {
                sigset_t held;
                sigemptyset(&held);
                sigaddset(&held, signal);
                sigprocmask(SIG_BLOCK, &held, nullptr);
                raise(signal);
            }
            execve(VANTREL_CLI_PROGRAM, const_cast<char* const*>(argv), const_cast<char* const*>(envp));
            _exit(127);
        }
        if (!early) {
            // The receive has begun once its temporary file is there.
            for (int i = 0; i < 1000 && std::filesystem::is_empty(out); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            EXPECT_FALSE(std::filesystem::is_empty(out));
            kill(pid, signal);
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 130) << signal;
        EXPECT_TRUE(std::filesystem::is_empty(out)) << signal;
        EXPECT_EQ(ReadText(folder.File("err")), "The exchange with the calculator was cancelled.\n") << signal;
    }
}
