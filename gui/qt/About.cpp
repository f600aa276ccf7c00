#include "gui/qt/About.h"

#include "gui/pages/AboutLogic.h"
#include "gui/qt/QtAnimateCtrl.h"
#include "language/ProgramFolder.h"

CAbout::CAbout() : CQtPropertyPage(IDD) {}

bool CAbout::OnInitDialog()
{
    m_animate = qobject_cast<CQtAnimateCtrl*>(GetDlgItem("IDC_ANIMATION"));
    if (m_animate != nullptr)
        m_animate->Open(CAboutLogic::GetClipPath(ProgramFolder()));
    return true;
}
