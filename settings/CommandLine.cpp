#include "settings/CommandLine.h"

#include "text/ProgramTexts.h"
#include "text/StringIds.h"
#include "text/SystemPath.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include "text/Utf16Text.h"
#endif

namespace {

constexpr char RATE_OPTION[] = "--simulate-rate";
constexpr char SEND_OPTION[] = "--simulate-send";

// FOLDER\NAME or FOLDER/NAME, kept with the calculator's backslash; or the
// word backup.
bool TakeSend(std::string value, CCommandLine& commandLine, std::string& error)
{
    const size_t separator = value.find_first_of("\\/");
    if (value != "backup" && (separator == std::string::npos || separator == 0 || separator + 1 == value.size())) {
        error = ProgramText(IDS_ARG_SEND);
        return false;
    }
    if (separator != std::string::npos)
        value[separator] = '\\';
    commandLine.simulateSend.push_back(value);
    return true;
}

// Whether args[i] is `option`, with its value after "=" or as the next
// argument (empty when there is none), which `value` then holds.
bool TakeValue(const char* option, const std::vector<std::string>& args, size_t& i, std::string& value)
{
    const std::string& arg = args[i];
    const std::string name(option);
    if (arg == name) {
        value = i + 1 < args.size() ? args[++i] : std::string();
        return true;
    }
    if (arg.rfind(name + "=", 0) != 0)
        return false;
    value = arg.substr(name.size() + 1);
    return true;
}

bool TakeRate(const std::string& value, CCommandLine& commandLine, std::string& error)
{
    const auto rate = ParseSimulateRate(value);
    if (!rate) {
        error = ProgramText(IDS_ARG_RATE);
        return false;
    }
    commandLine.nSimulateRate = *rate;
    return true;
}

} // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CCommandLine& commandLine, std::string& error)
{
    commandLine = CCommandLine{};
    std::string value;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--simulate" && !commandLine.bSimulate) {
            commandLine.bSimulate = true;
            if (i + 1 < args.size() && !args[i + 1].empty() && args[i + 1][0] != '-')
                commandLine.strSimulateFolder = args[++i];
        } else if (arg.rfind("--simulate=", 0) == 0 && !commandLine.bSimulate && arg.size() > 11) {
            commandLine.bSimulate = true;
            commandLine.strSimulateFolder = arg.substr(11);
        } else if (TakeValue(RATE_OPTION, args, i, value)) {
            if (!TakeRate(value, commandLine, error))
                return false;
        } else if (TakeValue(SEND_OPTION, args, i, value)) {
            if (!TakeSend(value, commandLine, error))
                return false;
        } else if (arg == "--help" || arg == "-h") {
            commandLine.bHelp = true;
        } else if (arg == "--version" || arg == "-V") {
            commandLine.bVersion = true;
        } else {
            error = ProgramText(IDS_ARG_UNEXPECTED, {arg});
            return false;
        }
    }
    if (commandLine.nSimulateRate != 0 && !commandLine.bSimulate) {
        error = ProgramText(IDS_ARG_RATE_ALONE);
        return false;
    }
    if (!commandLine.simulateSend.empty() && !commandLine.bSimulate) {
        error = ProgramText(IDS_ARG_SEND_ALONE);
        return false;
    }
    return true;
}

std::string SimulateFolderProblem(const CCommandLine& commandLine)
{
    const std::string& folder = commandLine.strSimulateFolder;
    std::error_code ec;
    if (folder.empty() || std::filesystem::is_directory(SystemPath(folder), ec))
        return {};
    return ProgramText(std::filesystem::exists(SystemPath(folder), ec) ? IDS_ARG_NOT_A_FOLDER : IDS_ARG_NO_FOLDER,
                       {folder});
}

std::string CommandLineUsage(const std::string& program)
{
    return "usage: " + program + " [--simulate [DIR]] [--simulate-rate N] [--simulate-send NAME]\n"
           "  --simulate     link to the built-in simulated TI-92 instead of the cable\n"
           "                 (with DIR: holding the variable files of DIR instead of its samples)\n"
           "  --simulate-rate N\n"
           "                 the simulated TI-92 moves at most N bytes a second, as a real cable\n"
           "                 does (default: at once)\n"
           "  --simulate-send FOLDER\\NAME|backup\n"
           "                 the simulated TI-92 sends that variable (or its whole memory) by\n"
           "                 itself each time \"Wait for calculator...\" is pressed; may be\n"
           "                 given more than once\n"
           "  -h, --help     show this help\n"
           "  -V, --version  show the version\n";
}

std::optional<uint32_t> ParseDecimal(const std::string& text, size_t digits)
{
    if (text.empty() || text.size() > digits)
        return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    return value;
}

std::optional<uint32_t> ParseSimulateRate(const std::string& text)
{
    const auto value = ParseDecimal(text, 7);
    if (!value || *value < 1 || *value > MAX_SIMULATE_RATE)
        return std::nullopt;
    return value;
}

#ifdef _WIN32
std::vector<std::string> ArgumentsFromWide(int argc, wchar_t** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(Utf16ToUtf8(std::wstring_view(argv[i])));
    return args;
}
#endif

std::string ProgramVersionNumber()
{
    return std::to_string(VANTREL_VERSION_MAJOR) + "." + std::to_string(VANTREL_VERSION_MINOR) + "." +
           std::to_string(VANTREL_VERSION_PATCH) + "." + std::to_string(VANTREL_VERSION_TWEAK);
}

std::string ProgramVersionText(const std::string& name)
{
    return name + " " + ProgramVersionNumber() + "\n";
}
