#include "gui/win32/Win32ProgressWindow.h"

#include "gui/win32/Win32BusyWindow.h"
#include "gui/win32/Win32Messages.h"
#include "text/StringIds.h"

#include <algorithm>

namespace {

constexpr DWORD SHOW_AFTER_MS = 500;
constexpr DWORD UPDATE_EVERY_MS = 50;

std::string Caption()
{
    return MessageText(IDS_SHEET_CAPTION, {});
}

// The language text with its "%s" filled in, one value after the other.
std::string FillIn(std::string text, std::initializer_list<std::string> values)
{
    size_t from = 0;
    for (const std::string& value : values) {
        const size_t at = text.find("%s", from);
        if (at == std::string::npos)
            break;
        text.replace(at, 2, value);
        from = at + value.size();
    }
    return text;
}

} // namespace

CWin32ProgressWindow::CWin32ProgressWindow() = default;

CWin32ProgressWindow::~CWin32ProgressWindow() = default;

void CWin32ProgressWindow::ExchangeStarted(int textId, const std::string& arg, uint64_t expectedBytes)
{
    ExchangeEnded();
    m_bActive = true;
    m_strWhat = MessageText(textId, arg);
    m_nExpected = expectedBytes;
    m_nDone = 0;
    m_nStartMs = m_nLastUpdateMs = GetTickCount();
}

void CWin32ProgressWindow::BytesMoved(uint64_t bytesDone)
{
    m_nDone = bytesDone;
    Update();
}

bool CWin32ProgressWindow::IsCancelRequested()
{
    Update();
    return m_pWindow != nullptr && m_pWindow->Pump();
}

void CWin32ProgressWindow::ExchangeEnded()
{
    m_bActive = false;
    m_pWindow.reset();
}

void CWin32ProgressWindow::Update()
{
    if (!m_bActive)
        return;
    const DWORD now = GetTickCount();
    if (now - m_nStartMs < SHOW_AFTER_MS || now - m_nLastUpdateMs < UPDATE_EVERY_MS)
        return;
    m_nLastUpdateMs = now;
    if (m_pWindow == nullptr)
        m_pWindow = std::make_unique<CWin32BusyWindow>(m_hOwner, Caption(), true);
    // The expectation is close, not exact: never more done than expected.
    const uint64_t shown = m_nExpected == 0 ? m_nDone : std::min(m_nDone, m_nExpected);
    const std::string count = m_nExpected == 0
        ? FillIn(MessageText(IDS_PROGRESS_BYTES, {}), {std::to_string(shown)})
        : FillIn(MessageText(IDS_PROGRESS_BYTES_OF, {}), {std::to_string(shown), std::to_string(m_nExpected)});
    m_pWindow->SetText(m_strWhat + "\r\n" + count);
    m_pWindow->SetProgress(m_nExpected == 0 ? -1 : static_cast<int>(shown * 1000 / m_nExpected));
    m_pWindow->Pump();
}
