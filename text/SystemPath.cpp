#include "text/SystemPath.h"

#ifdef _WIN32
#include "text/Utf16Text.h"
#endif

std::filesystem::path SystemPath(const std::string& name)
{
#ifdef _WIN32
    return std::filesystem::path(Utf8ToWide(name));
#else
    return std::filesystem::path(name);
#endif
}

std::string PathName(const std::filesystem::path& path)
{
#ifdef _WIN32
    return Utf16ToUtf8(std::wstring_view(path.native()));
#else
    return path.native();
#endif
}

std::string JoinPathName(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return PathName(SystemPath(folder) / SystemPath(name));
}

std::string FileNameOf(const std::string& path)
{
    return PathName(SystemPath(path).filename());
}
