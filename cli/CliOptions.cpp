#include "cli/CliOptions.h"

#include "cli/RemoteOperands.h"
#include "settings/CommandLine.h"

#include <algorithm>
#include <cctype>
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
    {"cables", CliCommand::Cables},
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

// Terminal devices, the names udev gives serial adapters, and COM ports.
bool LooksLikeSerialPort(const std::string& text)
{
    for (const char* prefix : {"/dev/tty", "/dev/pts/", "/dev/serial/", "/dev/rfcomm", "\\\\.\\"})
        if (text.rfind(prefix, 0) == 0)
            return true;
    if (text.size() < 4 || (text[0] != 'C' && text[0] != 'c') || (text[1] != 'O' && text[1] != 'o') ||
        (text[2] != 'M' && text[2] != 'm'))
        return false;
    return std::all_of(text.begin() + 3, text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Where a USB link cable is, "003:007", or its number in the listing.
bool LooksLikeUsbPlace(const std::string& text)
{
    const size_t colon = text.find(':');
    const auto digits = [](const std::string& part) {
        return !part.empty() && part.size() <= 3 &&
               std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return colon == std::string::npos ? digits(text) : digits(text.substr(0, colon)) && digits(text.substr(colon + 1));
}

// `extension` is lower-case: ".92g"; the name may have it in either case.
bool EndsWithExtension(const std::string& name, const std::string& extension)
{
    if (name.size() < extension.size())
        return false;
    for (size_t i = 0; i < extension.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[name.size() - extension.size() + i])) != extension[i])
            return false;
    return true;
}

constexpr const char* SIMULATE_SEND_BACKUP = "backup";

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
    {"--simulate-send", {CliCommand::Listen}},
    {"--probe", {CliCommand::Cables}},
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
    bool SortPort();
    bool CheckCommandOptions();
    bool CheckOperands();
    bool SplitVariableName(const std::string& text);
    bool HasCommandAfter(size_t i) const;
    // "FOLDER\NAME(ARGUMENTS)", or without brackets for no arguments.
    bool SplitProgramCall(const std::string& text);

    const std::vector<std::string>& m_args;
    CCliOptions& m_opt;
    std::string& m_error;
    std::vector<std::string> m_operands;
    std::vector<std::string> m_usedCommandOptions;
    std::string m_strPortText;
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
    if (!m_opt.simulateSend.empty() && !m_opt.bSimulate)
        return Fail("--simulate-send applies to --simulate only");
    CableKind cable = CableKind::Parallel;
    if (!SortPort() || (m_opt.cable && !ResolveCable(m_opt, *m_opt.cable, cable, m_error)))
        return false;
    return CheckCommandOptions() && CheckOperands();
}

bool CParser::HasCommandAfter(size_t i) const
{
    for (size_t j = i + 1; j < m_args.size(); ++j)
        if (FindCommand(m_args[j]))
            return true;
    return false;
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
        // "dir --help" and "--help dir" alike show what concerns dir.
        for (size_t j = i + 1; m_bDone && m_opt.command == CliCommand::None && j < m_args.size(); ++j)
            if (const auto command = FindCommand(m_args[j]))
                m_opt.command = *command;
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
    if (name == "--probe")
        return flag(m_opt.bProbe);
    if (name == "--cable") {
        if (!TakeValue(i, name, inlineValue, value))
            return false;
        m_opt.cable = CableFromWord(value);
        if (!m_opt.cable)
            return Fail("--cable takes parallel, black, gray or usb");
        return true;
    }
    if (name == "--simulate") {
        m_opt.bSimulate = true;
        if (inlineValue) {
            m_opt.strSimulateDir = *inlineValue;
            if (m_opt.strSimulateDir.empty())
                return Fail("--simulate= needs a folder");
        } else if (m_opt.command == CliCommand::None && i + 1 < m_args.size() &&
                   !m_args[i + 1].empty() && m_args[i + 1][0] != '-' &&
                   !FindCommand(m_args[i + 1]) && HasCommandAfter(i + 1)) {
            // Before the command word a following folder belongs to --simulate;
            // a word with no command after it is a misspelt command.
            m_opt.strSimulateDir = m_args[++i];
        }
        return true;
    }
    if (name == "--simulate-send") {
        if (!TakeValue(i, name, inlineValue, value))
            return false;
        if (value != SIMULATE_SEND_BACKUP) {
            if (!SplitVariableName(value))
                return false;
            const CCliOptions::VarName var = m_opt.vars.back();
            m_opt.vars.pop_back();
            value = var.folder + "\\" + var.name;
        }
        m_opt.simulateSend.push_back(value);
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
        if (value.empty())
            return Fail("--port needs a port");
        m_strPortText = value;
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
        if (EndsWithExtension(value, ".92g"))
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

// A base or a parallel device is the parallel cable's; a terminal device or
// a COM port is a serial one, and so is anything with --cable black or gray,
// whose ports may have any name.
bool CParser::SortPort()
{
    const std::string& text = m_strPortText;
    if (text.empty())
        return true;
    const bool usbCable = m_opt.cable == CableKind::Usb;
    if (usbCable || (!m_opt.cable && LooksLikeUsbPlace(text) && !ParsePortBase(text))) {
        if (!LooksLikeUsbPlace(text))
            return Fail("--port takes bus:address (such as 003:007) or the cable's number in the cables listing "
                        "for the usb cable");
        m_opt.strUsbPort = text;
        return true;
    }
    if ((m_opt.portBase = ParsePortBase(text)))
        return true;
    const bool serialCable = m_opt.cable && *m_opt.cable != CableKind::Parallel;
    if (serialCable || LooksLikeSerialPort(text)) {
        m_opt.strSerialPort = text;
        return true;
    }
    if (text.find('/') == std::string::npos)
        return Fail("--port takes 0x378, 0x278, a parallel port device such as /dev/parport0, or with --cable "
                    "black or gray a serial port such as /dev/ttyS0 or COM1");
#ifdef _WIN32
    // Windows reaches the parallel port through the driver, by its address only.
    return Fail("--port takes 0x378, 0x278 or a serial port such as COM1 on Windows");
#else
    m_opt.strPortDevice = text;
    return true;
#endif
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
        // The extension is the program's to add, as for a group file.
        if (m_opt.command == CliCommand::Backup && !EndsWithExtension(m_opt.files.front(), ".92b"))
            m_opt.files.front() += ".92b";
        return true;
    case CliCommand::Listen:
    case CliCommand::Cables:
        if (!m_operands.empty())
            return Fail(std::string(CommandName(m_opt.command)) + " takes no arguments, found '" + m_operands.front() + "'");
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

bool ResolveCable(const CCliOptions& options, CableKind stored, CableKind& cable, std::string& error)
{
    cable = options.cable.value_or(stored);
    const bool parallelPort = options.portBase || !options.strPortDevice.empty();
    if (IsSerialCable(cable) && parallelPort) {
        error = std::string("--port takes a serial port such as /dev/ttyS0, /dev/ttyUSB0 or COM1 for the ") +
                CableWord(cable) + " cable";
        return false;
    }
    if (cable == CableKind::Usb && (parallelPort || !options.strSerialPort.empty())) {
        error = "--port takes bus:address (such as 003:007) or the cable's number in the cables listing for the "
                "usb cable";
        return false;
    }
    if (cable != CableKind::Usb && !options.strUsbPort.empty()) {
        error = "--port " + options.strUsbPort + " is where a USB cable is: give --cable usb";
        return false;
    }
    if (cable == CableKind::Parallel && !options.strSerialPort.empty()) {
        error = "--port " + options.strSerialPort + " is no parallel port: give --cable black or --cable gray " +
                "for a serial port, or 0x378, 0x278 or /dev/parportN for the parallel cable";
        return false;
    }
    return true;
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

namespace {

// The help, in pieces: what each command does, and each option with the
// commands it belongs to (none: every command).
struct HelpCommand {
    CliCommand command;
    const char* text;
};
const HelpCommand HELP_COMMANDS[] = {
    {CliCommand::Dir, R"(  dir [--json] [--all]          list the calculator's folders and, under each,
                                its variables with type and size
)"},
    {CliCommand::Get, R"(  get FOLDER\NAME... [-C DIR] [--group NAME] [--force]
                                receive variables into one file each, named as
                                the GUI names them, or into the group file
                                NAME.92g; FOLDER/NAME works as well; names
                                are case-sensitive
)"},
    {CliCommand::Send, R"(  send FILE...                  send variable files (single or group); a
                                backup file is refused: use restore
)"},
    {CliCommand::Backup, R"(  backup FILE[.92b] [--force]   save the calculator's whole memory in
                                FILE.92b
)"},
    {CliCommand::Restore, R"(  restore FILE.92b [--yes]      put a backup back into the calculator; it
                                replaces everything on it, so --yes is needed
                                unless the question can be asked on a terminal
)"},
    {CliCommand::Listen, R"(  listen [-C DIR] [--once] [--force]
                                wait for the calculator to send variables or a
                                backup from its own menu and save them as get
                                does (a backup as backup.92b); Ctrl-C ends it
)"},
    {CliCommand::Screen, R"(  screen FILE [--zoom 2] [--force]
                                capture the screen and save it in the format of
                                FILE's extension (bmp, pbm, png)
)"},
    {CliCommand::Cables, R"(  cables [--probe]              list the cables, the serial ports and the USB
                                link cables found; with --probe, send the
                                calculator a ready check through each and say
                                which answered
)"},
    {CliCommand::Keys, R"(  keys TEXT|KEYNAME...          press keys on the calculator, about 50 ms apart:
                                a key name (ENTER, CLEAR, ESC, HOME, QUIT, F1,
                                UP, 2ND+ESC, DIAMOND+Q, SHIFT+LEFT...) presses
                                that key, any other argument is typed; a text
                                in capitals that names no key is refused
                                unless in double quotes ('"X2"')
)"},
    {CliCommand::Run, R"(  run FOLDER\NAME(ARGUMENTS)    run a program or function from the home screen
)"},
    {CliCommand::Delete, R"(  delete FOLDER\NAME... [--yes] delete variables by typing delvar on the
                                calculator; the directory is read again to see
                                them gone; asks unless --yes
)"},
    {CliCommand::Mkdir, R"(  mkdir FOLDER                  make a folder (by sending a small variable into
                                it and deleting that again)
)"},
};

struct HelpOption {
    std::vector<CliCommand> commands;
    const char* text;
};
const HelpOption HELP_OPTIONS[] = {
    {{}, R"(  --cable KIND         the cable: parallel, black (serial, two wires), gray
                       (serial, 9600 baud) or usb (the USB link cable)
)"},
// Windows has no port devices: there the parallel port is named by its
// address, a serial port by its COM name.
#ifdef _WIN32
    {{}, R"(  --port PORT          parallel cable: 0x378 or 0x278; black and gray cables: a
                       serial port such as COM1; usb cable: hub:port or its
                       number as cables lists it (default: the first one
                       plugged in)
)"},
#else
    {{}, R"(  --port PORT          parallel cable: 0x378, 0x278 or a device such as
                       /dev/parport0; black and gray cables: a serial port
                       such as /dev/ttyS0 or /dev/ttyUSB0; usb cable:
                       bus:address or its number as cables lists it (default:
                       the first one plugged in)
)"},
#endif
    {{}, "  --timeout MS         time-out of every wait on the cable, 1 to 10000\n"},
    {{}, R"(  --simulate[=DIR]     talk to the built-in simulated calculator instead of a
                       port; with DIR it holds the variable files found in DIR
                       (written as a separate argument only before COMMAND)
)"},
    {{}, R"(  --simulate-rate N    the simulated calculator moves at most N bytes a second,
                       as a real cable does (default: at once)
)"},
    {{CliCommand::Listen}, R"(  --simulate-send FOLDER\NAME|backup
                       listen: the simulated calculator sends that variable
                       (or, for the word backup, its whole memory) by itself
                       once the wait begins, as from its menu; may be given
                       more than once
)"},
    {{CliCommand::Dir}, "  --json               dir: print the listing as JSON\n"},
    {{CliCommand::Dir}, "  --all                dir: include the folders that the GUI hides (four digits)\n"},
    {{CliCommand::Get, CliCommand::Listen},
     R"(  -C DIR               get, listen: write the files into DIR instead of the
                       current folder
)"},
    {{CliCommand::Get}, "  --group NAME         get: receive all variables into one group file NAME.92g\n"},
    {{CliCommand::Get, CliCommand::Screen, CliCommand::Backup, CliCommand::Listen},
     R"(  -f, --force          get, screen, backup, listen: replace an existing file
                       without asking
)"},
    {{CliCommand::Restore, CliCommand::Delete}, "  --yes                restore, delete: go on without asking\n"},
    {{CliCommand::Listen}, "  --once               listen: stop after the first transmission\n"},
    {{CliCommand::Screen}, "  --zoom 1|2           screen: save at single or double size\n"},
    {{CliCommand::Cables}, "  --probe              cables: send a ready check through each cable found\n"},
    {{}, "  -h, --help           show this help (COMMAND --help: that command's)\n"},
    {{}, "  -V, --version        show the version\n"},
};

constexpr const char* HELP_END = R"(
Cable, port and time-out default to the settings saved by the GUI program;
this program only reads them.
Ctrl+C (SIGINT), SIGTERM or SIGHUP stops the exchange under way cleanly: no
partial file is left and an existing file keeps its contents.
With several files or names, a failure does not stop the others; a summary
line then names each one that failed, and the status is the worst failure's.
Exit status: 0 success, 1 the calculator exchange failed, 2 usage error,
3 file error (one that cannot be read or written, or is refused), 4 a
variable named to get, run or delete is not on the calculator (mkdir: the
folder is there already), 5 a question was answered no (nothing was
changed), 130 stopped by a signal (listen: Ctrl-C after something was
received ends it with 0).
)";

} // namespace

std::string GetUsageText(CliCommand command)
{
    std::string text;
    if (command == CliCommand::None)
        text = "Usage: vantrel92-cli [OPTIONS] COMMAND [ARGUMENTS]\n"
               "Talks to a TI-92 calculator through a link cable: the parallel cable, or the\n"
               "black or gray serial cable, or the USB link cable.\n\nCommands:\n";
    else
        text = std::string("Usage: vantrel92-cli [OPTIONS] ") + CommandName(command) + " [ARGUMENTS]\n\n";
    for (const HelpCommand& c : HELP_COMMANDS)
        if (command == CliCommand::None || c.command == command)
            text += c.text;
    text += "\nOptions:\n";
    for (const HelpOption& o : HELP_OPTIONS)
        if (command == CliCommand::None || o.commands.empty() ||
            std::find(o.commands.begin(), o.commands.end(), command) != o.commands.end())
            text += o.text;
    return text + HELP_END;
}
