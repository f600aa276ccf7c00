#include "shell/About.h"

#include "shell/AboutLogic.h"
#include "shell/AnimateCtrl.h"
#include "shell/ProgramFolder.h"

CAbout::CAbout() : CPropertyPage(IDD) {}

bool CAbout::OnInitDialog()
{
    m_animate = qobject_cast<CAnimateCtrl*>(GetDlgItem("IDC_ANIMATION"));
    if (m_animate != nullptr)
        m_animate->Open(CAboutLogic::GetClipPath(ProgramFolder()));
    return true;
}
