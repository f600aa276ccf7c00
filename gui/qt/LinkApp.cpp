#include "gui/qt/LinkApp.h"

#include "gui/qt/QtEndSignals.h"
#include "gui/qt/QtMessageBoxes.h"
#include "gui/qt/Sheet.h"
#include "language/LanguageLibrary.h"
#include "language/OwnResources.h"
#include "sim/BuiltInCalculator.h"

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
    // A signal closes the window as its close button does, once the
    // exchange under way has stopped.
    CQtEndSignals endSignals(sheet);
    sheet.DoModal();
    return 0;
}

void CLinkApp::PrepareSheet(CSheet& sheet, const CCommandLine& commandLine)
{
    sheet.m_dwFlags |= CQtPropertySheet::PSH_NOAPPLYNOW | CQtPropertySheet::PSH_USEICONID;
    sheet.m_dwFlags &= ~CQtPropertySheet::PSH_HASHELP;
    sheet.setWindowIcon(QIcon(QString::fromLatin1(OWN_ICON_SHEET)));
    if (!commandLine.bSimulate)
        return;
    const std::vector<std::string> problems = sheet.Logic().UseSimulatedCalculator(commandLine);
    if (!problems.empty()) {
        std::string text;
        for (const std::string& problem : problems)
            text += problem + "\n";
        UserMessages().ShowText(text);
    }
}
