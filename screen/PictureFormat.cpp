#include "screen/PictureFormat.h"

#include <algorithm>
#include <cctype>

namespace {

bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

std::string FindPictureFormat(const std::string& path, const std::vector<std::string>& formats)
{
    // Either slash ends a folder, so that a name reads the same on every
    // system.
    const size_t slash = path.find_last_of("/\\");
    const std::string fileName = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || dot + 1 == fileName.size())
        return {};
    const std::string extension = fileName.substr(dot + 1);
    for (const std::string& format : formats)
        if (EqualIgnoringCase(extension, format))
            return format;
    return {};
}

std::string JoinFormats(const std::vector<std::string>& formats)
{
    std::string list;
    for (const std::string& format : formats) {
        if (!list.empty())
            list += ", ";
        list += format;
    }
    return list;
}
