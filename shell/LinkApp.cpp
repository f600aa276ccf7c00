#include "shell/LinkApp.h"

#include "shell/LanguageLibrary.h"
#include "shell/OwnResources.h"
#include "shell/Sheet.h"

#include <QIcon>

CLinkApp::CLinkApp()
{
    g_wStringLanguage = LANG_ITALIAN;
}

int CLinkApp::InitInstance(const CCommandLine& commandLine)
{
    CSheet sheet;
    if (!sheet.IsLanguageLoaded())
        return 1;
    sheet.m_dwFlags |= CPropertySheet::PSH_NOAPPLYNOW | CPropertySheet::PSH_USEICONID;
    sheet.m_dwFlags &= ~CPropertySheet::PSH_HASHELP;
    sheet.setWindowIcon(QIcon(QString::fromLatin1(OWN_ICON_SHEET)));
    if (commandLine.bSimulate)
        sheet.UseSimulatedCalculator();
    sheet.DoModal();
    return 0;
}
