// vantrel92.exe: the window program on Windows. Reads the command line
// (--simulate [DIR], --simulate-rate N), then runs the sheet once.
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

#include <filesystem>
#include <string>
#include <vector>

namespace {

void LoadSimulatedFolder(CWin32Sheet& sheet, const std::string& folder, IUserMessages& messages)
{
    std::vector<std::string> problems;
    sheet.Logic().GetSimulatedCalculator()->LoadFolder(folder, problems);
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
    CWin32Messages messages;
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
    std::error_code folderError;
    if (!commandLine.strSimulateFolder.empty() &&
        !std::filesystem::is_directory(commandLine.strSimulateFolder, folderError)) {
        messages.ShowText(commandLine.strSimulateFolder + ": not a folder");
        return 2;
    }

    g_wStringLanguage = 1040;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    CWin32SettingsStore store;
    CWin32Sheet sheet(store, messages);
    if (!sheet.IsLanguageLoaded())
        return 1;
    if (commandLine.bSimulate) {
        sheet.Logic().UseSimulatedCalculator(commandLine.nSimulateRate);
        if (!commandLine.strSimulateFolder.empty())
            LoadSimulatedFolder(sheet, commandLine.strSimulateFolder, messages);
    }
#ifdef VANTREL_TEST_HOOK
    if (!script.empty() && !StartTestScript(script))
        return 3;
    if (CBuiltInCalculator* simulated = sheet.Logic().GetSimulatedCalculator())
        SetTestScriptCalculator(&simulated->GetCalculator());
#endif
    sheet.DoModal();
#ifdef VANTREL_TEST_HOOK
    if (!script.empty() && !TestScriptPassed())
        return 4;
#endif
    return 0;
}
