// vantrel92.exe: the window program on Windows. Reads the command line
// (--simulate [DIR], --simulate-rate N, --simulate-send NAME), then runs the
// sheet once.
#include "gui/pages/EndingMessages.h"
#include "gui/win32/Win32Messages.h"
#include "gui/win32/Win32Sheet.h"
#include "language/LanguageLibrary.h"
#include "settings/CommandLine.h"
#include "settings/Win32SettingsStore.h"
#include "sim/BuiltInCalculator.h"
#ifdef VANTREL_TEST_HOOK
#include "gui/win32/Win32TestScript.h"
#endif

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace {

void UseSimulatedCalculator(CWin32Sheet& sheet, const CCommandLine& commandLine, IUserMessages& messages)
{
    const std::vector<std::string> problems = sheet.Logic().UseSimulatedCalculator(commandLine);
    std::string text;
    for (const std::string& problem : problems)
        text += problem + "\r\n";
    if (!text.empty())
        messages.ShowText(text);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    // Once the program is asked to end, nothing more is said to a user who
    // has gone.
    CWin32Messages messageBoxes;
    CEndingMessages messages(messageBoxes, &CWin32Sheet::IsEnding);
#ifdef VANTREL_TEST_HOOK
    std::string script;
    if (args.size() >= 2 && args[0] == "--test-script") {
        script = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
#endif
    // A window program has no console: what is wrong with the command line
    // is said in a box, and the program ends.
    CCommandLine commandLine;
    std::string error;
    if (!ParseCommandLine(args, commandLine, error)) {
        messages.ShowText(error + "\r\n\r\n" + CommandLineUsage("vantrel92"));
        return 2;
    }
    if (commandLine.bHelp) {
        messages.ShowText(CommandLineUsage("vantrel92"));
        return 0;
    }
    if (const std::string problem = SimulateFolderProblem(commandLine); !problem.empty()) {
        messages.ShowText(problem);
        return 2;
    }

    g_wStringLanguage = 1040;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    CWin32SettingsStore store;
    CWin32Sheet sheet(store, messages);
    if (!sheet.IsLanguageLoaded())
        return 1;
    if (commandLine.bSimulate)
        UseSimulatedCalculator(sheet, commandLine, messages);
#ifdef VANTREL_TEST_HOOK
    if (!script.empty() && !StartTestScript(script))
        return 3;
#endif
    sheet.DoModal();
#ifdef VANTREL_TEST_HOOK
    if (!script.empty() && !TestScriptPassed())
        return 4;
#endif
    return 0;
}
