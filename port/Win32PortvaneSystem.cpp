#include "port/Win32PortvaneSystem.h"

#include "port/DriverResource.h"
#include "text/Utf16Text.h"

#include <windows.h>

#include <sddl.h>

#include <map>
#include <string>

namespace {

template <typename T>
IPortvaneSystem::Handle ToHandle(T handle)
{
    return reinterpret_cast<IPortvaneSystem::Handle>(handle);
}

SC_HANDLE ToService(IPortvaneSystem::Handle handle)
{
    return reinterpret_cast<SC_HANDLE>(handle);
}

HANDLE ToFile(IPortvaneSystem::Handle handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

// The running user's identifier as text, for an access list.
std::wstring CurrentUserSid()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::wstring result;
    if (size > 0) {
        std::string buffer(size, '\0');
        if (GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
            LPWSTR text = nullptr;
            if (ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
                result = text;
                LocalFree(text);
            }
        }
    }
    CloseHandle(token);
    return result;
}

std::wstring TemporaryFolder()
{
    std::wstring path(MAX_PATH + 1, L'\0');
    for (;;) {
        const DWORD n = GetTempPathW(static_cast<DWORD>(path.size()), path.data());
        if (n == 0)
            return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(n + 1);
    }
    while (!path.empty() && (path.back() == L'\\' || path.back() == L'/'))
        path.pop_back();
    return path;
}

class CWin32PortvaneSystem final : public IPortvaneSystem {
public:
    ~CWin32PortvaneSystem() override
    {
        if (m_event)
            CloseHandle(m_event);
        for (auto& pinned : m_pinnedFolders)
            CloseHandle(pinned.second);
    }

    bool IsNtFamily() override
    {
        OSVERSIONINFOA version{};
        version.dwOSVersionInfoSize = sizeof version;
        if (!GetVersionExA(&version))
            return false;
        return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    }

    uint32_t LastErrorCode() override { return m_dwLastError; }

    Handle OpenServiceManager() override
    {
        return Keep(ToHandle(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS)));
    }

    Handle OpenExistingService(Handle manager, const std::string& name) override
    {
        return Keep(ToHandle(OpenServiceW(ToService(manager), Utf8ToWide(name).c_str(), SERVICE_ALL_ACCESS)));
    }

    Handle CreateKernelService(Handle manager, const PortvaneServiceConfig& config) override
    {
        return Keep(ToHandle(CreateServiceW(ToService(manager), Utf8ToWide(config.name).c_str(),
                                            Utf8ToWide(config.displayName).c_str(), SERVICE_ALL_ACCESS,
                                            config.type, config.startType, config.errorControl,
                                            Utf8ToWide(config.binaryPath).c_str(), nullptr, nullptr, nullptr,
                                            nullptr, nullptr)));
    }

    bool ChangeServiceSettings(Handle service, const PortvaneServiceConfig& config) override
    {
        return Keep(ChangeServiceConfigW(ToService(service), config.type, config.startType,
                                         config.errorControl, Utf8ToWide(config.binaryPath).c_str(), nullptr,
                                         nullptr, nullptr, nullptr, nullptr,
                                         Utf8ToWide(config.displayName).c_str()) != FALSE);
    }

    bool StartDriverService(Handle service) override
    {
        return Keep(StartServiceW(ToService(service), 0, nullptr) != FALSE);
    }

    ServiceStopResult StopDriverService(Handle service) override
    {
        SERVICE_STATUS status{};
        if (ControlService(ToService(service), SERVICE_CONTROL_STOP, &status))
            return ServiceStopResult::Stopped;
        m_dwLastError = GetLastError();
        return m_dwLastError == ERROR_SERVICE_NOT_ACTIVE ? ServiceStopResult::NotRunning
                                                         : ServiceStopResult::Failed;
    }

    bool DeleteDriverService(Handle service) override
    {
        return Keep(DeleteService(ToService(service)) != FALSE);
    }

    void CloseServiceObject(Handle handle) override { CloseServiceHandle(ToService(handle)); }

    std::optional<std::vector<uint8_t>> LoadDriverImage() override
    {
        HMODULE module = GetModuleHandleW(nullptr);
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_DRIVER_SYS), L"BINRES");
        if (!found)
            return Fail<std::vector<uint8_t>>();
        HGLOBAL loaded = LoadResource(module, found);
        const DWORD size = SizeofResource(module, found);
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        if (!bytes || size == 0)
            return Fail<std::vector<uint8_t>>();
        const auto* first = static_cast<const uint8_t*>(bytes);
        return std::vector<uint8_t>(first, first + size);
    }

    std::optional<std::string> CreatePrivateFolder() override
    {
        const std::wstring temp = TemporaryFolder();
        const std::wstring user = CurrentUserSid();
        if (temp.empty() || user.empty())
            return Fail<std::string>();
        // Full control for the system, administrators and this user, inherited
        // by the image file, and nothing for anybody else.
        const std::wstring sddl = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;" + user + L")";
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                                  &descriptor, nullptr))
            return Fail<std::string>();
        SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};

        std::optional<std::string> result;
        for (unsigned attempt = 0; attempt < 16 && !result; ++attempt) {
            const std::wstring path = temp + L"\\Portvane-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                      std::to_wstring(GetTickCount() + attempt);
            // Only a folder made now is used: one that exists already may
            // belong to somebody else.
            if (CreateDirectoryW(path.c_str(), &attributes)) {
                Pin(path);
                result = Utf16ToUtf8(path);
            } else if (GetLastError() != ERROR_ALREADY_EXISTS) {
                break;
            }
        }
        m_dwLastError = result ? 0 : GetLastError();
        LocalFree(descriptor);
        return result;
    }

    bool RemovePrivateFolder(const std::string& path) override
    {
        const auto pinned = m_pinnedFolders.find(path);
        if (pinned != m_pinnedFolders.end()) {
            CloseHandle(pinned->second);
            m_pinnedFolders.erase(pinned);
        }
        return RemoveDirectoryW(Utf8ToWide(path).c_str()) != FALSE;
    }

    bool WriteImageFile(const std::string& path, const std::vector<uint8_t>& bytes) override
    {
        HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return Keep(false);
        DWORD written = 0;
        const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        Keep(ok != FALSE);
        const bool bClosed = CloseHandle(file) != FALSE;
        return ok && bClosed && written == bytes.size();
    }

    void DeleteImageFile(const std::string& path) override { DeleteFileW(Utf8ToWide(path).c_str()); }

    Handle OpenPortDevice(const std::string& path) override
    {
        HANDLE device = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OVERLAPPED, nullptr);
        return Keep(device == INVALID_HANDLE_VALUE ? NO_HANDLE : ToHandle(device));
    }

    bool ClosePortDevice(Handle device) override { return Keep(CloseHandle(ToFile(device)) != FALSE); }

    bool ControlPortDevice(Handle device, uint32_t code, void* buffer, uint32_t inLength, uint32_t outLength,
                           uint32_t& bytesReturned) override
    {
        bytesReturned = 0;
        if (!m_event)
            m_event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (!m_event)
            return Keep(false);
        OVERLAPPED overlapped{};
        overlapped.hEvent = m_event;
        DWORD returned = 0;
        if (!DeviceIoControl(ToFile(device), code, buffer, inLength, buffer, outLength, &returned,
                             &overlapped) &&
            GetLastError() != ERROR_IO_PENDING)
            return Keep(false); // never started, so there is nothing to wait for
        const BOOL ok = GetOverlappedResult(ToFile(device), &overlapped, &returned, TRUE);
        bytesReturned = returned;
        return Keep(ok != FALSE);
    }

private:
    template <typename T>
    T Keep(T result)
    {
        m_dwLastError = result ? 0 : GetLastError();
        return result;
    }

    template <typename T>
    std::optional<T> Fail()
    {
        m_dwLastError = GetLastError();
        return std::nullopt;
    }

    // Holds the folder open without delete sharing, so that it cannot be
    // renamed or replaced while the image inside waits for the service.
    void Pin(const std::wstring& path)
    {
        HANDLE folder = CreateFileW(path.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (folder != INVALID_HANDLE_VALUE)
            m_pinnedFolders[Utf16ToUtf8(path)] = folder;
    }

    HANDLE m_event = nullptr;
    DWORD m_dwLastError = 0;
    std::map<std::string, HANDLE> m_pinnedFolders;
};

} // namespace

IPortvaneSystem& RealPortvaneSystem()
{
    static CWin32PortvaneSystem system;
    return system;
}
