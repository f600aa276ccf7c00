#include "gui/win32/Win32AboutPage.h"

#include "gui/pages/AboutLogic.h"
#include "gui/win32/Win32Text.h"
#include "language/ProgramFolder.h"

void CWin32AboutPage::OnInitDialog()
{
    if (HWND animation = Item(IDC_ANIMATION)) {
        const std::wstring clip = Utf8ToWide(CAboutLogic::GetClipPath(ProgramFolder()));
        // The control plays it by itself (automatic play in the template).
        SendMessageW(animation, ACM_OPENW, 0, reinterpret_cast<LPARAM>(clip.c_str()));
    }
}
