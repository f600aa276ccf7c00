#include "language/ProgramFolder.h"

#include "text/Utf16Text.h"

#include <windows.h>

#include <vector>

namespace {
std::string g_strFolderOverride;
}

std::string ProgramFolder()
{
    if (!g_strFolderOverride.empty())
        return g_strFolderOverride;
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (length == 0)
            return ".";
        if (length < buffer.size()) {
            std::u16string path(buffer.begin(), buffer.begin() + length);
            const size_t slash = path.find_last_of(u"\\/");
            return Utf16ToUtf8(slash == std::u16string::npos ? u"." : path.substr(0, slash));
        }
        buffer.resize(buffer.size() * 2);
    }
}

void SetProgramFolder(const std::string& path)
{
    g_strFolderOverride = path;
}
