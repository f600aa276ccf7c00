#include "cli/CliApp.h"

#include "cli/CablesCommand.h"
#include "cli/CliContext.h"
#include "cli/CliLink.h"
#include "cli/CliOptions.h"
#include "cli/CliProgress.h"
#include "cli/ConsoleMessages.h"
#include "cli/ExitStatus.h"
#include "cli/InterruptSignals.h"
#include "cli/ProgressMeter.h"
#include "language/LanguageLibrary.h"
#include "language/LanguageLibraryLoader.h"
#include "link/CableChoice.h"
#ifdef _WIN32
#include "settings/Win32SettingsStore.h"
#else
#include "settings/QtSettingsStore.h"
#endif
#include "settings/Settings.h"
#include "text/StringIds.h"

#include <algorithm>
#include <ostream>

namespace {

// The language library stays loaded for the whole run, as in the GUI.
struct LanguageLibraryGuard {
    ~LanguageLibraryGuard() { FreeLanguageLibrary(); }
};

int RunCommand(CCliContext& context)
{
    switch (context.options.command) {
    case CliCommand::Dir: return RunDirCommand(context);
    case CliCommand::Get: return RunGetCommand(context);
    case CliCommand::Send: return RunSendCommand(context);
    case CliCommand::Screen: return RunScreenCommand(context);
    case CliCommand::Backup: return RunBackupCommand(context);
    case CliCommand::Restore: return RunRestoreCommand(context);
    case CliCommand::Listen: return RunListenCommand(context);
    case CliCommand::Keys: return RunKeysCommand(context);
    case CliCommand::Run: return RunRunCommand(context);
    case CliCommand::Delete: return RunDeleteCommand(context);
    case CliCommand::Mkdir: return RunMkdirCommand(context);
    case CliCommand::Cables:
    case CliCommand::None: break;
    }
    return EXIT_STATUS_USAGE;
}

// A run that a signal stopped ends with its own status, and the user is
// told once that the exchange was cancelled, unless the operation already
// said so in its own words. A run that got what it came for (a listen that
// received something) stays a success.
int StatusAfterInterrupt(int status, CConsoleMessages& messages)
{
    if (status == EXIT_STATUS_OK || !CInterruptSignals::IsRequested())
        return status;
    const std::vector<int>& shown = messages.GetShownIds();
    const auto saysCancelled = [](int id) { return id == IDS_EXCHANGE_CANCELLED || id == IDS_RESTORE_CANCELLED; };
    if (std::none_of(shown.begin(), shown.end(), saysCancelled))
        messages.ShowMessage(IDS_EXCHANGE_CANCELLED);
    return EXIT_STATUS_INTERRUPTED;
}

} // namespace

int RunCli(const std::vector<std::string>& args, const CCliStreams& streams, CBuiltInCalculator* simulated)
{
    // First, so that a signal while the run starts is not lost.
    CInterruptSignals interrupts;
    CCliOptions options;
    std::string error;
    if (!ParseCommandLine(args, options, error)) {
        streams.err << "vantrel92-cli: " << error << " (see vantrel92-cli --help)\n";
        return EXIT_STATUS_USAGE;
    }
    if (options.bHelp) {
        streams.out << GetUsageText(options.command);
        return EXIT_STATUS_OK;
    }
    if (options.bVersion) {
        streams.out << GetVersionText();
        return EXIT_STATUS_OK;
    }

    CConsoleMessages messages(streams.err, streams.in, LoadLanguageString);
    messages.SetInteractive(streams.bInTerminal && streams.bErrTerminal);
    // A restore's or a delete's question is answered by --yes, every other
    // one by --force.
    const bool answeredByYes = options.command == CliCommand::Restore || options.command == CliCommand::Delete;
    messages.SetAnswerYes(answeredByYes ? options.bYes : options.bForce);
    messages.SetYesOption(answeredByYes ? "--yes" : "--force");
    messages.SetGroupName(options.group.value_or(std::string()));

    // The same settings and language library as the window program. Only
    // the window program writes settings: without usable ones this run
    // takes the defaults and leaves the file as it is.
    CSettings settings;
#ifdef _WIN32
    CWin32SettingsStore store;
#else
    CQtSettingsStore store;
#endif
    settings.ReadFrom(store);
    LanguageLibraryGuard languageGuard;
    if (LoadLanguageLibraryFor(settings.m_nLanguage) == 0) {
        messages.ShowText(TEXT_NO_LANGUAGE_LIBRARY);
        return EXIT_STATUS_FILE;
    }

    CSteadyClock clock;
    CProgressMeter meter(streams.err, streams.bErrTerminal, clock);
    messages.SetProgressMeter(&meter);
    CCliProgress progress(
        meter, [&messages](int id, const std::string& arg) { return messages.Format(id, arg); },
        CInterruptSignals::IsRequested);
    // A user who never chose a cable, and names none, gets the USB link
    // cable when it is the only one there; the settings stay as they are.
    const bool portNamed = options.portBase || !options.strPortDevice.empty() || !options.strSerialPort.empty() ||
                           !options.strUsbPort.empty();
    if (!options.cable && !portNamed && !options.bSimulate && options.command != CliCommand::Cables &&
        !settings.IsCableChosen()) {
        CSystemCableParts parts;
        settings.SetUnchosenCable(GuessUnchosenCable(static_cast<uint16_t>(settings.GetPortBase()), parts));
    }
    CableKind cable = CableKind::Parallel;
    if (!ResolveCable(options, settings.GetCable(), cable, error)) {
        streams.err << "vantrel92-cli: " << error << " (see vantrel92-cli --help)\n";
        return EXIT_STATUS_USAGE;
    }
    if (options.command == CliCommand::Cables)
        return RunCablesCommand(options, settings, streams.out, progress, simulated);
    CCliLink link(progress, simulated);
    bool fileError = false;
    if (!link.Open(options, settings, error, fileError)) {
        if (fileError) {
            streams.err << "vantrel92-cli: " << error << '\n';
            return EXIT_STATUS_FILE;
        }
        // The reason fills the message's "%s", as in the window program.
        messages.ShowMessage(cable == CableKind::Parallel ? IDS_PORT_NOT_OPENED : IDS_CABLE_NOT_OPENED, error);
        return EXIT_STATUS_LINK;
    }
    for (const std::string& problem : link.GetLoadProblems())
        streams.err << "vantrel92-cli: " << problem << '\n';

    CCliContext context{options, link.Link(), messages, streams.out, streams.err, link.GetSimulated()};
    const int status = RunCommand(context);
    // A serial cable that never answered is most often the wrong cable, or
    // a calculator that is off: the exchange's message alone does not say.
    const std::string failure = link.Link().DescribeCableFailure();
    if (status == EXIT_STATUS_LINK && !failure.empty())
        messages.ShowText(failure);
    else if (status == EXIT_STATUS_LINK && cable != CableKind::Parallel && link.Link().HeardNothing())
        messages.ShowMessage(IDS_CABLE_NO_ANSWER, NameOfCablePort(cable, CliCablePort(options, settings, cable)));
    return StatusAfterInterrupt(status, messages);
}
