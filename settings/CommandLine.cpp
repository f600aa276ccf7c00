#include "settings/CommandLine.h"

#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#ifdef _WIN32
#include "text/Utf16Text.h"
#endif

namespace {

constexpr char RATE_OPTION[] = "--simulate-rate";

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
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--simulate" && !commandLine.bSimulate) {
            commandLine.bSimulate = true;
            if (i + 1 < args.size() && !args[i + 1].empty() && args[i + 1][0] != '-')
                commandLine.strSimulateFolder = args[++i];
        } else if (arg.rfind("--simulate=", 0) == 0 && !commandLine.bSimulate && arg.size() > 11) {
            commandLine.bSimulate = true;
            commandLine.strSimulateFolder = arg.substr(11);
        } else if (arg == RATE_OPTION) {
            if (!TakeRate(i + 1 < args.size() ? args[++i] : std::string(), commandLine, error))
                return false;
        } else if (arg.rfind(std::string(RATE_OPTION) + "=", 0) == 0) {
            if (!TakeRate(arg.substr(sizeof RATE_OPTION), commandLine, error))
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
    return true;
}

std::string CommandLineUsage(const std::string& program)
{
    return "usage: " + program + " [--simulate [DIR]] [--simulate-rate N]\n"
           "  --simulate     link to the built-in simulated TI-92 instead of the parallel port\n"
           "                 (with DIR: holding the variable files of DIR instead of its samples)\n"
           "  --simulate-rate N\n"
           "                 the simulated TI-92 moves at most N bytes a second, as a real cable\n"
           "                 does (default: at once)\n"
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
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg(argv[i]);
        args.push_back(Utf16ToUtf8(std::u16string(arg.begin(), arg.end())));
    }
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
