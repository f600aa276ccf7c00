#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the program was asked for on its command line. With no arguments it
// drives the configured parallel port; "--simulate" links it to the
// built-in simulated calculator instead, "--simulate DIR" to one holding the
// variable files of DIR; "--simulate-rate N" makes that calculator move at
// most N bytes a second, as a real cable does; "--simulate-send NAME" makes
// it send FOLDER\NAME (or, for the word backup, its whole memory) by itself
// each time the user waits for it.
struct CCommandLine {
    bool bSimulate = false;
    bool bHelp = false;
    bool bVersion = false;
    std::string strSimulateFolder;
    uint32_t nSimulateRate = 0; // 0: at once
    std::vector<std::string> simulateSend; // "folder\name" each, or "backup"
};

// `args` without the program name. False, with `error` set (in the
// language of the program's texts), for an argument the program does not
// know.
bool ParseCommandLine(const std::vector<std::string>& args, CCommandLine& commandLine, std::string& error);

// What is wrong with the --simulate folder: "DIR: does not exist" or "DIR:
// not a folder"; empty when it is a folder or none was given.
std::string SimulateFolderProblem(const CCommandLine& commandLine);

// One line per option, for --help and after a wrong argument, on a
// console.
std::string CommandLineUsage(const std::string& program);

// A decimal number of at most `digits` digits, nothing else.
std::optional<uint32_t> ParseDecimal(const std::string& text, size_t digits);

// The value of --simulate-rate: bytes a second, from 1 to MAX_SIMULATE_RATE.
inline constexpr uint32_t MAX_SIMULATE_RATE = 1000000;
std::optional<uint32_t> ParseSimulateRate(const std::string& text);
inline constexpr const char* SIMULATE_RATE_ERROR = "--simulate-rate takes a number of bytes a second from 1 to 1000000";

#ifdef _WIN32
// The program's arguments, without its name, in UTF-8, from the UTF-16 ones
// the system hands wmain: the ANSI ones lose every letter outside the code
// page.
std::vector<std::string> ArgumentsFromWide(int argc, wchar_t** argv);
#endif

// The program's four version numbers, "1.2.0.0".
std::string ProgramVersionNumber();
// What --version prints, the same for both programs: "NAME 1.2.0.0\n".
std::string ProgramVersionText(const std::string& name);
