// vantrel92.exe: the window program on Windows. Reads the command line
// (--simulate [DIR], --simulate-rate N, --simulate-send NAME, --help,
// --version), then runs the sheet once.
#include "gui/pages/EndingMessages.h"
#include "gui/win32/Win32Messages.h"
#include "gui/win32/Win32Sheet.h"
#include "gui/win32/Win32Text.h"
#include "language/LanguageLibrary.h"
#include "language/LanguageLibraryLoader.h"
#include "language/OwnResources.h"
#include "settings/CommandLine.h"
#include "settings/Settings.h"
#include "settings/Win32SettingsStore.h"
#include "sim/BuiltInCalculator.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"
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

// The language library of the stored settings, for what the program says
// before its sheet exists. The settings are only read: a question about the
// program writes nothing.
void LoadChosenLanguage()
{
    CWin32SettingsStore store;
    CSettings settings;
    settings.ReadFrom(store);
    LoadLanguageLibraryFor(settings.m_nLanguage);
}

// A window program has no console: what the command line asks for, or what
// is wrong with it, is said in a box of its own, and the program ends
// without opening its window or the port.
void ShowCommandLineBox(const std::string& text, UINT icon)
{
    std::string caption = LoadOwnString(IDS_SHEET_CAPTION);
    if (caption.empty())
        caption = "Vantrel 92";
    MessageBoxW(nullptr, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), MB_OK | icon);
}

// The text of the box for a command line that does not start the window,
// empty for one that does; `status` is then the program's exit status.
// The texts are those of the language library loaded, if any.
std::string CommandLineAnswer(const std::vector<std::string>& args, CCommandLine& commandLine, int& status,
                              UINT& icon)
{
    std::string error;
    status = 0;
    icon = MB_ICONINFORMATION;
    if (!ParseCommandLine(args, commandLine, error)) {
        status = 2;
        icon = MB_ICONWARNING;
        return error + "\r\n\r\n" + ProgramText(IDS_WINDOW_USAGE);
    }
    if (commandLine.bHelp)
        return ProgramText(IDS_WINDOW_USAGE);
    if (commandLine.bVersion)
        return ProgramText(IDS_WINDOW_VERSION, {ProgramVersionNumber()});
    if (std::string problem = SimulateFolderProblem(commandLine); !problem.empty()) {
        status = 2;
        icon = MB_ICONWARNING;
        return problem;
    }
    return {};
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    std::vector<std::string> args = ArgumentsFromWide(argc, argv);
    // Once the program is asked to end, nothing more is said to a user who
    // has gone.
    CWin32Messages messageBoxes;
    CEndingMessages messages(messageBoxes, &CWin32Sheet::IsEnding);
#ifdef VANTREL_TEST_HOOK
    std::string script;
    if (args.size() >= 2 && args[0] == "--test-script") {
        script = args[1];
        args.erase(args.begin(), args.begin() + 2);
        if (!StartTestScript(script))
            return 3;
    }
#endif
    g_wStringLanguage = 1040;
    CCommandLine commandLine;
    int status = 0;
    UINT icon = 0;
    if (!CommandLineAnswer(args, commandLine, status, icon).empty()) {
        // Answered again once the language is loaded, in its words.
        LoadChosenLanguage();
        ShowCommandLineBox(CommandLineAnswer(args, commandLine, status, icon), icon);
        FreeLanguageLibrary();
#ifdef VANTREL_TEST_HOOK
        if (!script.empty() && !TestScriptPassed())
            return 4;
#endif
        return status;
    }

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    CWin32SettingsStore store;
    CWin32Sheet sheet(store, messages);
    if (!sheet.IsLanguageLoaded())
        return 1;
    if (commandLine.bSimulate)
        UseSimulatedCalculator(sheet, commandLine, messages);
#ifdef VANTREL_TEST_HOOK
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
