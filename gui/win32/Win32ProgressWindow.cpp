#include "gui/win32/Win32ProgressWindow.h"

#include "gui/win32/Win32BusyWindow.h"
#include "gui/win32/Win32Messages.h"
#include "text/StringIds.h"

CWin32ProgressWindow::CWin32ProgressWindow() = default;

CWin32ProgressWindow::~CWin32ProgressWindow() = default;

void CWin32ProgressWindow::Open()
{
    m_pWindow = std::make_unique<CWin32BusyWindow>(m_hOwner, MessageText(IDS_SHEET_CAPTION, {}), true);
}

void CWin32ProgressWindow::ShowTexts(const std::string& what, const std::string& count)
{
    if (m_pWindow != nullptr)
        m_pWindow->SetText(what + "\r\n" + count);
}

void CWin32ProgressWindow::ShowBar(int steps)
{
    if (m_pWindow != nullptr)
        m_pWindow->SetProgress(steps);
}

void CWin32ProgressWindow::ShowBusyBar()
{
    if (m_pWindow != nullptr)
        m_pWindow->SetProgress(-1);
}

bool CWin32ProgressWindow::PumpEvents()
{
    return m_pWindow != nullptr && m_pWindow->Pump();
}

void CWin32ProgressWindow::Close()
{
    m_pWindow.reset();
}
