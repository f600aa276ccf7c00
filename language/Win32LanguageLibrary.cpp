#include "language/Win32LanguageLibrary.h"

#include "language/LanguageImageCheck.h"
#include "language/PeResourceReader.h"
#include "language/ProgramFolder.h"
#include "language/StringBlock.h"
#include "text/Utf16Text.h"

#include <vector>

namespace {

// Language libraries are a few dozen kilobytes; anything far larger is not one.
constexpr DWORD MAX_LIBRARY_BYTES = 16 * 1024 * 1024;

std::wstring Wide(const std::string& text)
{
    const std::u16string wide = Utf8ToUtf16(text);
    return std::wstring(wide.begin(), wide.end());
}

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring CurrentDirectory()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetCurrentDirectoryW(DWORD(buffer.size()), buffer.data());
        if (length == 0)
            return L".";
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(length + 1);
    }
}

std::wstring Join(const std::wstring& folder, const std::wstring& name)
{
    if (folder.empty() || folder.back() == L'\\' || folder.back() == L'/')
        return folder + name;
    return folder + L'\\' + name;
}

bool ReadWhole(HANDLE file, std::vector<uint8_t>& bytes)
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > MAX_LIBRARY_BYTES)
        return false;
    bytes.resize(size_t(size.QuadPart));
    DWORD done = 0;
    return bytes.empty() || (ReadFile(file, bytes.data(), DWORD(bytes.size()), &done, nullptr) && done == bytes.size());
}

} // namespace

CWin32LanguageLibrary::~CWin32LanguageLibrary()
{
    FreeLibrary(m_hModule);
}

CWin32LanguageLibrary* CWin32LanguageLibrary::Load(const std::wstring& path)
{
    // Readers may share the file, writers may not: what is checked here is
    // what the system maps below.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    std::vector<uint8_t> bytes;
    HMODULE module = nullptr;
    if (ReadWhole(file, bytes) && IsWholeLanguageImage(bytes.data(), bytes.size()))
        module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    CloseHandle(file);
    return module != nullptr ? new CWin32LanguageLibrary(module) : nullptr;
}

const void* CWin32LanguageLibrary::FindData(int id, const wchar_t* type, size_t& size) const
{
    size = 0;
    if (id < 0 || id > 0xFFFF)
        return nullptr;
    HRSRC found = FindResourceW(m_hModule, MAKEINTRESOURCEW(id), type);
    if (found == nullptr)
        return nullptr;
    HGLOBAL loaded = LoadResource(m_hModule, found);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data != nullptr)
        size = SizeofResource(m_hModule, found);
    return data;
}

bool CWin32LanguageLibrary::FindString(int id, std::string& text) const
{
    if (id < 0 || id > 0xFFFF)
        return false;
    size_t size = 0;
    const auto* block = static_cast<const uint8_t*>(FindData(StringBlockOf(uint16_t(id)), MAKEINTRESOURCEW(PE_RT_STRING), size));
    std::u16string wide;
    if (block == nullptr || !ReadBlockString(block, size, unsigned(id % 16), wide) || wide.empty())
        return false;
    text = Utf16ToUtf8(wide);
    return true;
}

const void* CWin32LanguageLibrary::FindTemplate(int id, size_t& size) const
{
    return FindData(id, MAKEINTRESOURCEW(PE_RT_DIALOG), size);
}

ILanguageModule* LoadLanguageBundle(const std::string& fileName)
{
    const std::wstring name = Wide(fileName);
    const std::wstring besideProgram = Join(Wide(ProgramFolder()), name);
    if (IsFile(besideProgram))
        return CWin32LanguageLibrary::Load(besideProgram);
    const std::wstring inCurrent = Join(CurrentDirectory(), name);
    if (IsFile(inCurrent))
        return CWin32LanguageLibrary::Load(inCurrent);
    return nullptr;
}
