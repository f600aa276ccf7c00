#include "shell/SheetLogic.h"

#include "link/DirListLogic.h"
#include "port/HardwarePort.h"
#include "screen/GrabScreenLogic.h"
#include "shell/ConfigLogic.h"
#include "shell/LanguageLoader.h"
#include "shell/SimulatedCalculator.h"
#include "shell/StringIds.h"
#include "shell/UserMessages.h"

CSheetLogic::CSheetLogic(CConfigLogic& config, ILanguageLoader& languages, IUserMessages& messages)
    : m_config(config), m_languages(languages), m_messages(messages)
{
}

CSheetLogic::~CSheetLogic()
{
    m_languages.Free();
}

bool CSheetLogic::LoadLanguage()
{
    m_wLanguage = m_config.LoadLanguageLibrary(m_languages);
    if (m_wLanguage == 0)
        m_messages.ShowText(TEXT_NO_LANGUAGE_LIBRARY);
    return m_wLanguage != 0;
}

void CSheetLogic::SetLinkPages(CDirListLogic* dirList, CGrabScreenLogic* grabScreen)
{
    m_pDirList = dirList;
    m_pGrabScreen = grabScreen;
}

void CSheetLogic::UseSimulatedCalculator(uint32_t bytesPerSecond)
{
    const uint16_t base = static_cast<uint16_t>(m_config.GetPortBase());
    m_link.m_portIo.SetBackend(nullptr);
    m_pSimulation = std::make_unique<CSimulatedCalculator>(base);
    m_pSimulation->SetPace(bytesPerSecond);
    m_link.m_portIo.SetBackend(m_pSimulation->MakeBackend());
}

bool CSheetLogic::OnCreate()
{
    const uint32_t base = m_config.GetPortBase();
    if (m_link.m_portIo.GetBackend() == nullptr)
        m_link.m_portIo.SetBackend(MakeHardwarePortBackend(static_cast<uint16_t>(base)));
    if (!m_link.m_portIo.OpenDriver()) {
        m_messages.ShowMessage(IDS_PORT_NOT_OPENED, m_link.m_portIo.GetLastError());
        return false;
    }
    m_link.m_wDataPort = static_cast<uint16_t>(base);
    m_link.m_wStatusPort = static_cast<uint16_t>(base + 1);
    m_link.m_nTimeout = m_config.GetTimeout();
    m_bHasLink = true;
    m_link.SetProgress(m_pProgress);
    if (m_pDirList != nullptr)
        m_pDirList->SetSheet(this);
    if (m_pGrabScreen != nullptr)
        m_pGrabScreen->SetSheet(this);
    return true;
}

void CSheetLogic::OnDestroy()
{
    m_link.m_portIo.CloseDriver();
    m_link.SetProgress(nullptr);
    m_bHasLink = false;
}
