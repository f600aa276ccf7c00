#include "gui/pages/AboutLogic.h"

#include "text/SystemPath.h"

std::string CAboutLogic::GetClipPath(const std::string& programFolder)
{
    return JoinPathName(programFolder, CLIP_FILE_NAME);
}
