#include "shell/Sheet.h"

#include "port/HardwarePort.h"
#include "shell/LanguageLibrary.h"
#include "shell/MessageBoxes.h"
#include "shell/OwnResources.h"
#include "shell/SimulatedCalculator.h"
#include "shell/StringIds.h"
#include "shell/ToolkitTranslation.h"

#include <QPushButton>

CSheet::CSheet(QWidget* parent) : CPropertySheet(QString::fromStdString(LoadOwnString(IDS_SHEET_CAPTION)), parent)
{
    const uint16_t language = m_pageConfig.LoadLanguageLibrary();
    if (language == 0) {
        UserMessages().ShowText(TEXT_NO_LANGUAGE_LIBRARY);
        m_bLanguageLoaded = false;
        return;
    }
    InstallToolkitTranslation(language);
    m_bLanguageLoaded = true;
    for (CPropertyPage* page : {static_cast<CPropertyPage*>(&m_pageDirList), static_cast<CPropertyPage*>(&m_pageConfig),
                                static_cast<CPropertyPage*>(&m_pageAbout), static_cast<CPropertyPage*>(&m_pageGrabScreen)}) {
        size_t size = 0;
        const void* tmpl = LoadLanguageResource(page->GetTemplateId(), RT_DIALOG, &size);
        page->SetTemplate(tmpl, size);
    }
    AddPage(&m_pageDirList);
    AddPage(&m_pageGrabScreen);
    AddPage(&m_pageConfig);
    AddPage(&m_pageAbout);
}

// The language library goes first; the link, the simulation and the pages
// follow as members, in reverse order of declaration.
CSheet::~CSheet()
{
    FreeLanguageLibrary();
}

void CSheet::UseSimulatedCalculator(uint32_t bytesPerSecond)
{
    const uint16_t base = static_cast<uint16_t>(m_pageConfig.GetPortBase());
    m_link.m_portIo.SetBackend(nullptr);
    m_pSimulation = std::make_unique<CSimulatedCalculator>(base);
    m_pSimulation->SetPace(bytesPerSecond);
    m_link.m_portIo.SetBackend(m_pSimulation->MakeBackend());
}

int CSheet::OnCreate()
{
    const uint32_t base = m_pageConfig.GetPortBase();
    if (m_link.m_portIo.GetBackend() == nullptr)
        m_link.m_portIo.SetBackend(MakeHardwarePortBackend(static_cast<uint16_t>(base)));
    if (!m_link.m_portIo.OpenDriver()) {
        UserMessages().ShowMessage(IDS_PORT_NOT_OPENED, m_link.m_portIo.GetLastError());
        return 0;
    }
    m_link.m_wDataPort = static_cast<uint16_t>(base);
    m_link.m_wStatusPort = static_cast<uint16_t>(base + 1);
    m_link.m_nTimeout = m_pageConfig.GetTimeout();
    m_bHasLink = true;
    m_link.SetProgress(&m_progress);
    m_pageDirList.SetSheet(this);
    m_pageGrabScreen.SetSheet(this);
    return 0;
}

bool CSheet::OnInitDialog()
{
    const bool result = CPropertySheet::OnInitDialog();
    if (QPushButton* close = GetButton(IDOK))
        close->setText(QString::fromLatin1(TEXT_CLOSE_BUTTON));
    RemoveButton(IDCANCEL);
    CentreButtons();
    return result;
}

void CSheet::OnDestroy()
{
    CPropertySheet::OnDestroy();
    m_link.m_portIo.CloseDriver();
    m_link.SetProgress(nullptr);
    m_bHasLink = false;
}
