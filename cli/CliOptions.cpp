#include "cli/CliOptions.h"

#include "cli/RemoteOperands.h"
#include "settings/CommandLine.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr size_t MAX_CALCULATOR_NAME = 8;
constexpr uint32_t MAX_TIMEOUT = 10000;

struct CommandWord {
    const char* word;
    CliCommand command;
};
constexpr CommandWord COMMANDS[] = {
    {"dir", CliCommand::Dir},
    {"get", CliCommand::Get},
    {"send", CliCommand::Send},
    {"screen", CliCommand::Screen},
    {"backup", CliCommand::Backup},
    {"restore", CliCommand::Restore},
    {"listen", CliCommand::Listen},
    {"keys", CliCommand::Keys},
    {"run", CliCommand::Run},
    {"delete", CliCommand::Delete},
    {"mkdir", CliCommand::Mkdir},
};

std::optional<CliCommand> FindCommand(const std::string& word)
{
    for (const CommandWord& c : COMMANDS)
        if (word == c.word)
            return c.command;
    return std::nullopt;
}

const char* CommandName(CliCommand command)
{
    for (const CommandWord& c : COMMANDS)
        if (c.command == command)
            return c.word;
    return "";
}

// "dir, get, ... or mkdir".
std::string CommandList()
{
    std::string list;
    for (size_t i = 0; i < std::size(COMMANDS); ++i)
        list += std::string(i == 0 ? "" : i + 1 == std::size(COMMANDS) ? " or " : ", ") + COMMANDS[i].word;
    return list;
}

bool EndsWithGroupExtension(const std::string& name)
{
    if (name.size() < 4)
        return false;
    const std::string tail = name.substr(name.size() - 4);
    return tail == ".92g" || tail == ".92G";
}

// The options that belong to some commands only, and which those are.
struct CommandOption {
    const char* name;
    std::vector<CliCommand> commands;
};
const CommandOption COMMAND_OPTIONS[] = {
    {"--json", {CliCommand::Dir}},
    {"--all", {CliCommand::Dir}},
    {"-C", {CliCommand::Get, CliCommand::Listen}},
    {"--group", {CliCommand::Get}},
    {"--force", {CliCommand::Get, CliCommand::Screen, CliCommand::Backup, CliCommand::Listen}},
    {"--zoom", {CliCommand::Screen}},
    {"--yes", {CliCommand::Restore, CliCommand::Delete}},
    {"--once", {CliCommand::Listen}},
};

class CParser {
public:
    CParser(const std::vector<std::string>& args, CCliOptions& options, std::string& error)
        : m_args(args), m_opt(options), m_error(error)
    {
    }

    bool Run();

private:
    bool Fail(std::string text)
    {
        m_error = std::move(text);
        return false;
    }
    bool HandleOption(size_t& i);
    bool HandleOperand(const std::string& arg);
    bool TakeValue(size_t& i, const std::string& name, const std::optional<std::string>& inlineValue,
                   std::string& value);
    bool CheckCommandOptions();
    bool CheckOperands();
    bool SplitVariableName(const std::string& text);
    // "FOLDER\NAME(ARGUMENTS)", or without brackets for no arguments.
    bool SplitProgramCall(const std::string& text);

    const std::vector<std::string>& m_args;
    CCliOptions& m_opt;
    std::string& m_error;
    std::vector<std::string> m_operands;
    std::vector<std::string> m_usedCommandOptions;
    bool m_bDone = false;
};

bool CParser::Run()
{
    m_opt = CCliOptions{};
    bool endOfOptions = false;
    for (size_t i = 0; i < m_args.size() && !m_bDone; ++i) {
        const std::string& arg = m_args[i];
        if (!endOfOptions && arg == "--") {
            endOfOptions = true;
            continue;
        }
        const bool isOption = !endOfOptions && arg.size() > 1 && arg[0] == '-';
        if (isOption ? !HandleOption(i) : !HandleOperand(arg))
            return false;
    }
    if (m_bDone)
        return true;
    if (m_opt.command == CliCommand::None)
        return Fail("no command given: " + CommandList());
    if (m_opt.nSimulateRate != 0 && !m_opt.bSimulate)
        return Fail("--simulate-rate applies to --simulate only");
    return CheckCommandOptions() && CheckOperands();
}

bool CParser::TakeValue(size_t& i, const std::string& name,
                        const std::optional<std::string>& inlineValue, std::string& value)
{
    if (inlineValue) {
        value = *inlineValue;
    } else if (i + 1 < m_args.size()) {
        value = m_args[++i];
    } else {
        return Fail(name + " needs a value");
    }
    return true;
}

bool CParser::HandleOption(size_t& i)
{
    const std::string& arg = m_args[i];
    std::string name = arg;
    std::optional<std::string> inlineValue;
    if (arg.rfind("--", 0) == 0) {
        const size_t eq = arg.find('=');
        if (eq != std::string::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
    } else if (arg.size() > 2) {
        name = arg.substr(0, 2); // "-CDIR"
        inlineValue = arg.substr(2);
    }

    if (name == "-f")
        name = "--force";
    const auto flag = [&](bool& member) {
        if (inlineValue)
            return Fail(name + " takes no value");
        member = true;
        return true;
    };
    for (const CommandOption& o : COMMAND_OPTIONS)
        if (name == o.name)
            m_usedCommandOptions.push_back(name);

    std::string value;
    if (name == "--help" || name == "-h") {
        m_bDone = flag(m_opt.bHelp);
        return m_bDone;
    }
    if (name == "--version" || name == "-V") {
        m_bDone = flag(m_opt.bVersion);
        return m_bDone;
    }
    if (name == "--json")
        return flag(m_opt.bJson);
    if (name == "--all")
        return flag(m_opt.bAll);
    if (name == "--force")
        return flag(m_opt.bForce);
    if (name == "--yes")
        return flag(m_opt.bYes);
    if (name == "--once")
        return flag(m_opt.bOnce);
    if (name == "--simulate") {
        m_opt.bSimulate = true;
        if (inlineValue) {
            m_opt.strSimulateDir = *inlineValue;
            if (m_opt.strSimulateDir.empty())
                return Fail("--simulate= needs a folder");
        } else if (m_opt.command == CliCommand::None && i + 1 < m_args.size() &&
                   !m_args[i + 1].empty() && m_args[i + 1][0] != '-' &&
                   !FindCommand(m_args[i + 1])) {
            // Before the command word a following folder belongs to --simulate.
            m_opt.strSimulateDir = m_args[++i];
        }
        return true;
    }
    if (name == "--simulate-rate") {
        if (!TakeValue(i, name, inlineValue, value))
            return false;
        const auto rate = ParseSimulateRate(value);
        if (!rate)
            return Fail(SIMULATE_RATE_ERROR);
        m_opt.nSimulateRate = *rate;
        return true;
    }
    if (name == "--port") {
        if (!TakeValue(i, name, inlineValue, value))
            return false;
        if (value.find('/') != std::string::npos) {
#ifdef _WIN32
            // Windows reaches the port through the driver, by its address only.
            return Fail("--port takes 0x378 or 0x278 on Windows");
#endif
            m_opt.strPortDevice = value;
            m_opt.portBase.reset();
            return true;
        }
        m_opt.portBase = ParsePortBase(value);
        m_opt.strPortDevice.clear();
        if (!m_opt.portBase)
            return Fail("--port takes 0x378, 0x278 or a parallel port device such as /dev/parport0");
        return true;
    }
    if (name == "--timeout") {
        if (!TakeValue(i, name, inlineValue, value))
            return false;
        const auto ms = ParseDecimal(value, 5);
        if (!ms || *ms < 1 || *ms > MAX_TIMEOUT)
            return Fail("--timeout takes a number of milliseconds from 1 to 10000");
        m_opt.timeout = *ms;
        return true;
    }
    if (name == "--zoom") {
        if (!TakeValue(i, name, inlineValue, value))
            return false;
        if (value != "1" && value != "2")
            return Fail("--zoom takes 1 or 2");
        m_opt.zoom = static_cast<unsigned>(value[0] - '0');
        return true;
    }
    if (name == "-C") {
        if (!TakeValue(i, name, inlineValue, value))
            return false;
        if (value.empty())
            return Fail("-C needs a folder");
        m_opt.strDirectory = value;
        return true;
    }
    if (name == "--group") {
        if (!TakeValue(i, name, inlineValue, value))
            return false;
        // The extension is the program's to add, as when the name is typed in the GUI.
        if (EndsWithGroupExtension(value))
            value.resize(value.size() - 4);
        if (value.empty())
            return Fail("--group needs a file name");
        m_opt.group = value;
        return true;
    }
    return Fail("unknown option " + name);
}

bool CParser::HandleOperand(const std::string& arg)
{
    if (m_opt.command != CliCommand::None) {
        m_operands.push_back(arg);
        return true;
    }
    const auto command = FindCommand(arg);
    if (!command)
        return Fail("unknown command '" + arg + "': " + CommandList());
    m_opt.command = *command;
    return true;
}

bool CParser::CheckCommandOptions()
{
    for (const std::string& used : m_usedCommandOptions) {
        for (const CommandOption& o : COMMAND_OPTIONS) {
            if (used != o.name || std::find(o.commands.begin(), o.commands.end(), m_opt.command) != o.commands.end())
                continue;
            std::string owners;
            size_t i = 0;
            for (CliCommand command : o.commands) {
                if (i > 0)
                    owners += i + 1 == o.commands.size() ? " and " : ", ";
                owners += CommandName(command);
                ++i;
            }
            return Fail(used + " applies to " + owners + " only");
        }
    }
    return true;
}

bool CParser::SplitVariableName(const std::string& text)
{
    const size_t sep = text.find_first_of("\\/");
    if (sep == std::string::npos)
        return Fail("'" + text + "' names no folder: write FOLDER\\NAME, for example main\\x");
    CCliOptions::VarName var{text.substr(0, sep), text.substr(sep + 1)};
    if (var.folder.empty() || var.name.empty() ||
        var.name.find_first_of("\\/") != std::string::npos)
        return Fail("'" + text + "' is not FOLDER\\NAME");
    if (var.folder.size() > MAX_CALCULATOR_NAME || var.name.size() > MAX_CALCULATOR_NAME)
        return Fail("'" + text + "': calculator folder and variable names have at most 8 characters");
    m_opt.vars.push_back(std::move(var));
    return true;
}

bool CParser::SplitProgramCall(const std::string& text)
{
    const size_t open = text.find('(');
    if (open != std::string::npos && text.back() != ')')
        return Fail("'" + text + "': the arguments end with ')'");
    if (!SplitVariableName(text.substr(0, open)))
        return false;
    if (open != std::string::npos)
        m_opt.strArguments = text.substr(open + 1, text.size() - open - 2);
    return true;
}

bool CParser::CheckOperands()
{
    switch (m_opt.command) {
    case CliCommand::Dir:
        if (!m_operands.empty())
            return Fail("dir takes no arguments, found '" + m_operands.front() + "'");
        return true;
    case CliCommand::Get:
    case CliCommand::Delete:
        if (m_operands.empty())
            return Fail(std::string(CommandName(m_opt.command)) + " needs at least one FOLDER\\NAME");
        for (const std::string& operand : m_operands)
            if (!SplitVariableName(operand))
                return false;
        return true;
    case CliCommand::Send:
        if (m_operands.empty())
            return Fail("send needs at least one variable file");
        m_opt.files = m_operands;
        return true;
    case CliCommand::Screen:
        if (m_operands.size() != 1)
            return Fail("screen needs exactly one image file name");
        m_opt.files = m_operands;
        return true;
    case CliCommand::Backup:
    case CliCommand::Restore:
        if (m_operands.size() != 1)
            return Fail(std::string(CommandName(m_opt.command)) + " needs exactly one backup file name (.92b)");
        m_opt.files = m_operands;
        return true;
    case CliCommand::Listen:
        if (!m_operands.empty())
            return Fail("listen takes no arguments, found '" + m_operands.front() + "'");
        return true;
    case CliCommand::Run:
        if (m_operands.size() != 1)
            return Fail("run needs exactly one FOLDER\\NAME(ARGUMENTS)");
        return SplitProgramCall(m_operands.front());
    case CliCommand::Keys:
    case CliCommand::Mkdir:
        return ParseRemoteOperands(m_opt.command, m_operands, m_opt, m_error);
    case CliCommand::None:
        break;
    }
    return false;
}

} // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CCliOptions& options, std::string& error)
{
    return CParser(args, options, error).Run();
}

std::optional<uint16_t> ParsePortBase(const std::string& text)
{
    std::string digits = text;
    if (digits.rfind("0x", 0) == 0 || digits.rfind("0X", 0) == 0)
        digits = digits.substr(2);
    if (digits == "378")
        return uint16_t{0x378};
    if (digits == "278")
        return uint16_t{0x278};
    return std::nullopt;
}

std::string GetVersionText()
{
    return ProgramVersionText("vantrel92-cli");
}

std::string GetUsageText()
{
    return R"(Usage: vantrel92-cli [OPTIONS] COMMAND [ARGUMENTS]
Talks to a TI-92 calculator on the parallel-port link cable.

Commands:
  dir [--json] [--all]          list the calculator's folders and, under each,
                                its variables with type and size
  get FOLDER\NAME... [-C DIR] [--group NAME] [--force]
                                receive variables into one file each, named as
                                the GUI names them, or into the group file
                                NAME.92g; FOLDER/NAME works as well; names
                                are case-sensitive
  send FILE...                  send variable files (single or group); a
                                backup file is refused: use restore
  backup FILE.92b [--force]     save the calculator's whole memory in FILE.92b
  restore FILE.92b [--yes]      put a backup back into the calculator; it
                                replaces everything on it, so --yes is needed
                                unless the question can be asked on a terminal
  listen [-C DIR] [--once] [--force]
                                wait for the calculator to send variables or a
                                backup from its own menu and save them as get
                                does (a backup as backup.92b); Ctrl-C ends it
  screen FILE [--zoom 2] [--force]
                                capture the screen and save it in the format of
                                FILE's extension (bmp, pbm, png)
  keys TEXT|KEYNAME...          press keys on the calculator, about 50 ms apart:
                                a key name (ENTER, CLEAR, ESC, HOME, QUIT, F1,
                                UP, 2ND+ESC, DIAMOND+Q, SHIFT+LEFT...) presses
                                that key, any other argument is typed; a text
                                in capitals that names no key is refused
                                unless in double quotes ('"X2"')
  run FOLDER\NAME(ARGUMENTS)    run a program or function from the home screen
  delete FOLDER\NAME... [--yes] delete variables by typing delvar on the
                                calculator; the directory is read again to see
                                them gone; asks unless --yes
  mkdir FOLDER                  make a folder (by sending a small variable into
                                it and deleting that again)

Options:
  --port BASE|DEVICE   the port: 0x378, 0x278 or a device such as /dev/parport0
  --timeout MS         time-out of every wait on the cable, 1 to 10000
  --simulate[=DIR]     talk to the built-in simulated calculator instead of a
                       port; with DIR it holds the variable files found in DIR
                       (written as a separate argument only before COMMAND)
  --simulate-rate N    the simulated calculator moves at most N bytes a second,
                       as a real cable does (default: at once)
  --json               dir: print the listing as JSON
  --all                dir: include the folders that the GUI hides (four digits)
  -C DIR               get, listen: write the files into DIR instead of the
                       current folder
  --group NAME         get: receive all variables into one group file NAME.92g
  -f, --force          get, screen, backup, listen: replace an existing file
                       without asking
  --yes                restore, delete: go on without asking
  --once               listen: stop after the first transmission
  --zoom 1|2           screen: save at single or double size
  -h, --help           show this help
  -V, --version        show the version

Port and time-out default to the settings saved by the GUI program; this
program only reads them.
Ctrl+C (SIGINT) or SIGTERM stops the exchange under way cleanly: no partial
file is left and an existing file keeps its contents.
Exit status: 0 success, 1 the calculator exchange failed, 2 usage error,
3 file error (one that cannot be read or written, or is refused), 4 a
variable named to get, run or delete is not on the calculator (mkdir: the
folder is there already), 130 stopped by SIGINT or
SIGTERM (listen: Ctrl-C after something was received ends it with 0).
)";
}
