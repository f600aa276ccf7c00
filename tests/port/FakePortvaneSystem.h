#pragma once

#include "port/PortvaneSystem.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// A Windows as the Portvane client sees it: one service manager with at most
// the one service, a file system of image files and private folders, and the
// driver's device, which exists while the service runs. Every call is logged
// as a line, so tests can check the order of the steps.
class CFakePortvaneSystem final : public IPortvaneSystem {
public:
    struct Service {
        PortvaneServiceConfig config;
        bool bRunning = false;
        std::vector<uint8_t> loadedImage; // what the last start loaded
    };
    struct Control {
        uint32_t code;
        uint32_t inLength;
        uint32_t outLength;
        std::vector<uint8_t> sent;
    };

    // The world before the test.
    bool bNtFamily = true;
    bool bManagerDenied = false;
    std::optional<Service> service;
    std::optional<std::vector<uint8_t>> image = std::vector<uint8_t>{'M', 'Z', 0x90, 0, 3, 0, 0, 0};
    std::string tempFolder = "C:\\Users\\ann\\AppData\\Local\\Temp";
    bool bFolderFails = false;
    bool bWriteFails = false; // leaves half a file behind
    uint32_t startError = 0;  // a start that fails with this code
    bool bStopFails = false;
    // The running driver's image cannot be deleted until its service stops.
    bool bRunningImageHeld = false;
    // Answers device control; the default plays a driver that reads 0x5A.
    std::function<bool(uint32_t code, void* buffer, uint32_t inLength, uint32_t outLength,
                       uint32_t& bytesReturned)>
        onControl;

    // What happened.
    std::vector<std::string> calls;
    std::map<std::string, std::vector<uint8_t>> files;
    std::set<std::string> folders;
    std::vector<Control> controls;
    std::set<Handle> openServiceHandles;
    std::set<Handle> openDevices;

    static constexpr uint32_t SYSTEM_ERROR_FILE_NOT_FOUND = 2;
    static constexpr uint32_t SYSTEM_ERROR_ACCESS_DENIED = 5;
    static constexpr uint32_t SYSTEM_ERROR_BAD_EXE_FORMAT = 193;
    static constexpr uint32_t SYSTEM_ERROR_SERVICE_ALREADY_RUNNING = 1056;
    static constexpr uint32_t SYSTEM_ERROR_SERVICE_DOES_NOT_EXIST = 1060;
    static constexpr uint32_t SYSTEM_ERROR_SERVICE_NOT_ACTIVE = 1062;
    static constexpr uint32_t SYSTEM_ERROR_SERVICE_EXISTS = 1073;

    static Service RegisteredService(const std::string& path, bool bRunning)
    {
        Service s;
        s.config.name = s.config.displayName = "Portvane";
        s.config.binaryPath = path;
        s.bRunning = bRunning;
        return s;
    }

    // Index in `calls` of the first line that starts with `prefix`, or -1.
    int IndexOf(const std::string& prefix) const
    {
        for (size_t i = 0; i < calls.size(); ++i)
            if (calls[i].rfind(prefix, 0) == 0)
                return static_cast<int>(i);
        return -1;
    }
    int Count(const std::string& prefix) const
    {
        int n = 0;
        for (const auto& line : calls)
            n += line.rfind(prefix, 0) == 0 ? 1 : 0;
        return n;
    }

    bool IsNtFamily() override
    {
        calls.push_back("IsNtFamily");
        return bNtFamily;
    }

    uint32_t LastErrorCode() override { return m_dwError; }

    Handle OpenServiceManager() override
    {
        calls.push_back("OpenServiceManager");
        if (bManagerDenied)
            return Fail(SYSTEM_ERROR_ACCESS_DENIED);
        return NewServiceHandle(MANAGER);
    }

    Handle OpenExistingService(Handle manager, const std::string& name) override
    {
        calls.push_back("OpenExistingService " + name);
        if (!IsManager(manager) || !service || name != service->config.name)
            return Fail(SYSTEM_ERROR_SERVICE_DOES_NOT_EXIST);
        return NewServiceHandle(SERVICE);
    }

    Handle CreateKernelService(Handle manager, const PortvaneServiceConfig& config) override
    {
        calls.push_back("CreateKernelService " + config.binaryPath);
        if (!IsManager(manager))
            return Fail(SYSTEM_ERROR_ACCESS_DENIED);
        if (service)
            return Fail(SYSTEM_ERROR_SERVICE_EXISTS);
        service = Service{config, false, {}};
        return NewServiceHandle(SERVICE);
    }

    bool ChangeServiceSettings(Handle handle, const PortvaneServiceConfig& config) override
    {
        calls.push_back("ChangeServiceSettings " + config.binaryPath);
        if (!IsService(handle))
            return Fail(SYSTEM_ERROR_ACCESS_DENIED) != 0;
        service->config.type = config.type;
        service->config.startType = config.startType;
        service->config.errorControl = config.errorControl;
        service->config.binaryPath = config.binaryPath;
        service->config.displayName = config.displayName;
        return true;
    }

    bool StartDriverService(Handle handle) override
    {
        calls.push_back("StartDriverService");
        if (!IsService(handle))
            return Fail(SYSTEM_ERROR_ACCESS_DENIED) != 0;
        if (service->bRunning)
            return Fail(SYSTEM_ERROR_SERVICE_ALREADY_RUNNING) != 0;
        if (startError != 0)
            return Fail(startError) != 0;
        const auto file = files.find(service->config.binaryPath);
        if (file == files.end())
            return Fail(SYSTEM_ERROR_FILE_NOT_FOUND) != 0;
        if (!image || file->second != *image)
            return Fail(SYSTEM_ERROR_BAD_EXE_FORMAT) != 0; // the loader refuses a damaged image
        service->bRunning = true;
        service->loadedImage = file->second;
        return true;
    }

    ServiceStopResult StopDriverService(Handle handle) override
    {
        calls.push_back("StopDriverService");
        if (!IsService(handle)) {
            m_dwError = SYSTEM_ERROR_ACCESS_DENIED;
            return ServiceStopResult::Failed;
        }
        if (!service->bRunning) {
            m_dwError = SYSTEM_ERROR_SERVICE_NOT_ACTIVE;
            return ServiceStopResult::NotRunning;
        }
        if (bStopFails)
            return ServiceStopResult::Failed;
        service->bRunning = false;
        return ServiceStopResult::Stopped;
    }

    bool DeleteDriverService(Handle handle) override
    {
        calls.push_back("DeleteDriverService");
        if (!IsService(handle))
            return Fail(SYSTEM_ERROR_ACCESS_DENIED) != 0;
        service.reset();
        return true;
    }

    void CloseServiceObject(Handle handle) override
    {
        calls.push_back("CloseServiceObject");
        if (openServiceHandles.erase(handle) == 0)
            calls.push_back("!closed a handle that was not open");
    }

    std::optional<std::vector<uint8_t>> LoadDriverImage() override
    {
        calls.push_back("LoadDriverImage");
        return image;
    }

    std::optional<std::string> CreatePrivateFolder() override
    {
        calls.push_back("CreatePrivateFolder");
        if (bFolderFails) {
            m_dwError = SYSTEM_ERROR_ACCESS_DENIED;
            return std::nullopt;
        }
        const std::string path = tempFolder + "\\Portvane-" + std::to_string(++m_nFolders);
        folders.insert(path);
        return path;
    }

    bool RemovePrivateFolder(const std::string& path) override
    {
        calls.push_back("RemovePrivateFolder " + path);
        // Like the real call, a folder that still holds a file stays.
        for (const auto& file : files)
            if (file.first.rfind(path + "\\", 0) == 0)
                return false;
        folders.erase(path);
        return true;
    }

    bool WriteImageFile(const std::string& path, const std::vector<uint8_t>& bytes) override
    {
        calls.push_back("WriteImageFile " + path);
        const auto cut = path.rfind('\\');
        if (cut == std::string::npos || folders.count(path.substr(0, cut)) == 0)
            return Fail(SYSTEM_ERROR_FILE_NOT_FOUND) != 0;
        if (bWriteFails) {
            files[path] = std::vector<uint8_t>(bytes.begin(), bytes.begin() + bytes.size() / 2);
            return Fail(112) != 0; // disk full
        }
        files[path] = bytes;
        return true;
    }

    void DeleteImageFile(const std::string& path) override
    {
        calls.push_back("DeleteImageFile " + path);
        if (bRunningImageHeld && service && service->bRunning && service->config.binaryPath == path)
            return;
        files.erase(path);
    }

    Handle OpenPortDevice(const std::string& path) override
    {
        calls.push_back("OpenPortDevice " + path);
        if (path != "\\\\.\\Portvane" || !service || !service->bRunning)
            return Fail(SYSTEM_ERROR_FILE_NOT_FOUND);
        const Handle device = m_nextHandle++;
        openDevices.insert(device);
        return device;
    }

    bool ClosePortDevice(Handle device) override
    {
        calls.push_back("ClosePortDevice");
        return openDevices.erase(device) == 1;
    }

    bool ControlPortDevice(Handle device, uint32_t code, void* buffer, uint32_t inLength, uint32_t outLength,
                           uint32_t& bytesReturned) override
    {
        const auto* bytes = static_cast<const uint8_t*>(buffer);
        controls.push_back({code, inLength, outLength, std::vector<uint8_t>(bytes, bytes + inLength)});
        if (openDevices.count(device) == 0)
            return false;
        if (onControl)
            return onControl(code, buffer, inLength, outLength, bytesReturned);
        if (code == 0x22E008 && outLength >= 24)
            static_cast<uint8_t*>(buffer)[4] = 0x5A;
        bytesReturned = outLength;
        return true;
    }

private:
    enum Kind { MANAGER, SERVICE };

    Handle Fail(uint32_t error)
    {
        m_dwError = error;
        return NO_HANDLE;
    }
    Handle NewServiceHandle(Kind kind)
    {
        const Handle handle = m_nextHandle++;
        openServiceHandles.insert(handle);
        m_kinds[handle] = kind;
        return handle;
    }
    bool IsManager(Handle handle) const { return Is(handle, MANAGER); }
    bool IsService(Handle handle) const { return Is(handle, SERVICE) && service.has_value(); }
    bool Is(Handle handle, Kind kind) const
    {
        const auto found = m_kinds.find(handle);
        return openServiceHandles.count(handle) == 1 && found != m_kinds.end() && found->second == kind;
    }

    uint32_t m_dwError = 0;
    Handle m_nextHandle = 0x100;
    std::map<Handle, Kind> m_kinds;
    int m_nFolders = 0;
};
