#include "shell/LinkApp.h"

#include "shell/LanguageLibrary.h"
#include "shell/MessageBoxes.h"
#include "shell/OwnResources.h"
#include "shell/Sheet.h"
#include "shell/SimulatedCalculator.h"

#include <QIcon>

#include <string>
#include <vector>

CLinkApp::CLinkApp()
{
    g_wStringLanguage = LANGID_ITALIAN;
}

int CLinkApp::InitInstance(const CCommandLine& commandLine)
{
    CSheet sheet;
    if (!sheet.IsLanguageLoaded())
        return 1;
    PrepareSheet(sheet, commandLine);
    sheet.DoModal();
    return 0;
}

void CLinkApp::PrepareSheet(CSheet& sheet, const CCommandLine& commandLine)
{
    sheet.m_dwFlags |= CPropertySheet::PSH_NOAPPLYNOW | CPropertySheet::PSH_USEICONID;
    sheet.m_dwFlags &= ~CPropertySheet::PSH_HASHELP;
    sheet.setWindowIcon(QIcon(QString::fromLatin1(OWN_ICON_SHEET)));
    if (!commandLine.bSimulate)
        return;
    sheet.UseSimulatedCalculator(commandLine.nSimulateRate);
    if (commandLine.strSimulateFolder.empty())
        return;
    std::vector<std::string> problems;
    sheet.GetSimulatedCalculator()->LoadFolder(commandLine.strSimulateFolder, problems);
    if (!problems.empty()) {
        std::string text;
        for (const std::string& problem : problems)
            text += problem + "\n";
        UserMessages().ShowText(text);
    }
}
