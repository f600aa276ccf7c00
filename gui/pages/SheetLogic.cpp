#include "gui/pages/SheetLogic.h"

#include "gui/pages/ConfigLogic.h"
#include "gui/pages/DirListLogic.h"
#include "gui/pages/GrabScreenLogic.h"
#include "language/LanguageLoader.h"
#include "link/CableChoice.h"
#include "settings/CommandLine.h"
#include "sim/BuiltInCalculator.h"
#include "text/StringIds.h"
#include "text/UserMessages.h"

CSheetLogic::CSheetLogic(CConfigLogic& config, ILanguageLoader& languages, IUserMessages& messages)
    : m_config(config), m_languages(languages), m_messages(messages)
{
    m_endingProgress.SetSheet(this);
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
    m_link.SetPortBackend(nullptr);
    m_pSimulation = std::make_unique<CBuiltInCalculator>(base);
    m_pSimulation->SetPace(bytesPerSecond);
    m_link.SetPortBackend(m_pSimulation->MakeBackend());
}

std::vector<std::string> CSheetLogic::UseSimulatedCalculator(const CCommandLine& commandLine)
{
    UseSimulatedCalculator(commandLine.nSimulateRate);
    std::vector<std::string> problems;
    if (!commandLine.strSimulateFolder.empty())
        m_pSimulation->LoadFolder(commandLine.strSimulateFolder, problems);
    std::string error;
    if (!m_pSimulation->SetMenuSend(commandLine.simulateSend, error))
        problems.push_back("--simulate-send: " + error);
    return problems;
}

void CSheetLogic::BeforeListening()
{
    if (m_pSimulation != nullptr)
        m_pSimulation->SendFromMenu();
}

bool CSheetLogic::OnCreate()
{
    const uint16_t base = static_cast<uint16_t>(m_config.GetPortBase());
    CSystemCableParts systemParts;
    if (!m_pSimulation && !m_link.HasPortBackend() && !m_config.IsCableChosen())
        m_config.SetUnchosenCable(GuessUnchosenCable(base, systemParts));
    const CableKind cable = m_config.GetCable();
    const std::string port = CablePort();
    // The simulated calculator answers through whichever cable is chosen.
    if (m_pSimulation)
        ChooseCable(m_link, cable, base, port, *m_pSimulation);
    else if (!m_link.HasPortBackend())
        ChooseCable(m_link, cable, base, port, systemParts);
    if (!m_link.Open(base, m_config.GetTimeout())) {
        m_messages.ShowMessage(cable == CableKind::Parallel ? IDS_PORT_NOT_OPENED : IDS_CABLE_NOT_OPENED,
                               m_link.GetOpenError());
        return false;
    }
    m_bHasLink = true;
    m_link.SetProgress(&m_endingProgress);
    if (m_pDirList != nullptr)
        m_pDirList->SetSheet(this);
    if (m_pGrabScreen != nullptr)
        m_pGrabScreen->SetSheet(this);
    return true;
}

void CSheetLogic::OnDestroy()
{
    m_link.Close();
    m_link.SetProgress(nullptr);
    m_bHasLink = false;
}

void CSheetLogic::CEndingProgress::ExchangeStarted(int textId, const std::string& arg, uint64_t expectedBytes)
{
    m_bUnderWay = true;
    if (m_pShown != nullptr)
        m_pShown->ExchangeStarted(textId, arg, expectedBytes);
}

void CSheetLogic::CEndingProgress::BytesMoved(uint64_t bytesDone)
{
    if (m_pShown != nullptr)
        m_pShown->BytesMoved(bytesDone);
}

bool CSheetLogic::CEndingProgress::IsCancelRequested()
{
    // The window's own Cancel is asked too, so that it stays up to date.
    const bool cancel = m_pShown != nullptr && m_pShown->IsCancelRequested();
    return cancel || IsEndRequested();
}

void CSheetLogic::CEndingProgress::ExchangeEnded()
{
    m_bUnderWay = false;
    if (m_pShown != nullptr)
        m_pShown->ExchangeEnded();
    if (m_pSheet != nullptr)
        m_pSheet->AfterExchange();
}

std::string CSheetLogic::CablePort() const
{
    return IsSerialCable(m_config.GetCable()) ? m_config.GetSerialPort() : std::string();
}

void CSheetLogic::AfterExchange()
{
    const std::string failure = m_link.DescribeCableFailure();
    const CableKind cable = m_config.GetCable();
    if (!failure.empty())
        m_messages.ShowText(failure);
    else if (cable != CableKind::Parallel && m_link.HeardNothing())
        m_messages.ShowMessage(IDS_CABLE_NO_ANSWER,
                               NameOfCablePort(cable, CablePort()));
}
