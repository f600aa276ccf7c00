#include "text/SystemPath.h"

#ifdef _WIN32
#include "text/Utf16Text.h"
#endif

std::filesystem::path SystemPath(const std::string& name)
{
#ifdef _WIN32
    const std::u16string wide = Utf8ToUtf16(name);
    return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
#else
    return std::filesystem::path(name);
#endif
}

std::string PathName(const std::filesystem::path& path)
{
#ifdef _WIN32
    const std::wstring& wide = path.native();
    return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
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
