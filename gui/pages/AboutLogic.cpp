#include "gui/pages/AboutLogic.h"

#include <filesystem>

std::string CAboutLogic::GetClipPath(const std::string& programFolder)
{
    return (std::filesystem::path(programFolder) / CLIP_FILE_NAME).string();
}
