#include "shell/About.h"

#include "shell/AnimateCtrl.h"
#include "shell/ProgramFolder.h"

#include <filesystem>

CAbout::CAbout() : CPropertyPage(IDD) {}

bool CAbout::OnInitDialog()
{
    m_animate = qobject_cast<CAnimateCtrl*>(GetDlgItem("IDC_ANIMATION"));
    if (m_animate != nullptr)
        m_animate->Open((std::filesystem::path(ProgramFolder()) / CLIP_FILE_NAME).string());
    return true;
}
