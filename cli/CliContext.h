#pragma once

#include <iosfwd>
#include <string>

class CBuiltInCalculator;
class CConsoleMessages;
class CDirectoryListing;
class CLink;
struct CCliOptions;

// What a subcommand works with: the parsed command line, the open link
// (whose exchanges show their own progress), the user's side of the
// operations and standard output for its results (listings, the paths of
// the files written).
struct CCliContext {
    const CCliOptions& options;
    CLink& link;
    CConsoleMessages& messages;
    std::ostream& out;
    std::ostream& err;
    // The simulated calculator, when the run talks to one.
    CBuiltInCalculator* simulated = nullptr;
};

// The subcommands; each returns the exit status.
int RunDirCommand(CCliContext& context);
int RunGetCommand(CCliContext& context);
int RunSendCommand(CCliContext& context);
int RunScreenCommand(CCliContext& context);
int RunBackupCommand(CCliContext& context);
int RunRestoreCommand(CCliContext& context);
int RunListenCommand(CCliContext& context);
int RunKeysCommand(CCliContext& context);
int RunRunCommand(CCliContext& context);
int RunDeleteCommand(CCliContext& context);
int RunMkdirCommand(CCliContext& context);

// False, having said so, when -C names something that is not a folder.
bool CheckOutputFolder(CCliContext& context);

// Why `path` is not what a command needs: "" when it is a `wanted` ("file"
// or "folder"), else "does not exist" or "is not a file".
std::string PathProblem(const std::string& path, const char* wanted);

// Why an operation that writes files failed, from what it told the user
// since the item began: a refused name is a usage error, a declined
// question its own status, a file that could not be written a file error,
// anything else the calculator exchange.
int FailureStatus(const CConsoleMessages& messages);

// Reads the calculator's directory into `listing`; on failure shows the
// window program's message and returns false.
bool ReadListing(CCliContext& context, CDirectoryListing& listing);

// Whether `path` may be written: yes when there is no such file or it is
// empty, otherwise the user's answer to the overwrite question.
bool MayReplaceFile(CCliContext& context, const std::string& path);
