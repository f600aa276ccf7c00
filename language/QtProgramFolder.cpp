#include "language/ProgramFolder.h"

#include <QCoreApplication>

#include <filesystem>
#include <system_error>

namespace {
std::string g_strFolderOverride;
}

std::string ProgramFolder()
{
    if (!g_strFolderOverride.empty())
        return g_strFolderOverride;
    if (QCoreApplication::instance() != nullptr)
        return QCoreApplication::applicationDirPath().toStdString();
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : self.parent_path().string();
}

void SetProgramFolder(const std::string& path)
{
    g_strFolderOverride = path;
}
