#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Settings of the driver's service as the service control manager takes them.
struct PortvaneServiceConfig {
    std::string name;
    std::string displayName;
    std::string binaryPath;
    uint32_t type = 1;         // kernel driver
    uint32_t startType = 3;    // on demand
    uint32_t errorControl = 1; // normal
};

enum class ServiceStopResult { Stopped, NotRunning, Failed };

// Every Windows call the Portvane client makes, behind one seam so that the
// order of installing, starting, opening and removing runs in tests on any
// system. Strings are UTF-8. Calls that fail return NO_HANDLE or false and
// leave the system's error code for LastErrorCode().
class IPortvaneSystem {
public:
    using Handle = std::uintptr_t;
    static constexpr Handle NO_HANDLE = 0;

    virtual ~IPortvaneSystem() = default;

    virtual bool IsNtFamily() = 0;
    virtual uint32_t LastErrorCode() = 0;

    // Service control manager, with all access on the manager and the service.
    virtual Handle OpenServiceManager() = 0;
    virtual Handle OpenExistingService(Handle manager, const std::string& name) = 0;
    virtual Handle CreateKernelService(Handle manager, const PortvaneServiceConfig& config) = 0;
    // Changes type, start, error control, binary path and display name only.
    virtual bool ChangeServiceSettings(Handle service, const PortvaneServiceConfig& config) = 0;
    virtual bool StartDriverService(Handle service) = 0;
    virtual ServiceStopResult StopDriverService(Handle service) = 0;
    virtual bool DeleteDriverService(Handle service) = 0;
    virtual void CloseServiceObject(Handle handle) = 0;

    // The driver image carried in the program's own resources.
    virtual std::optional<std::vector<uint8_t>> LoadDriverImage() = 0;
    // A new, empty folder under the user's temporary folder that only the
    // user, administrators and the system may write to; its path, without a
    // trailing separator.
    virtual std::optional<std::string> CreatePrivateFolder() = 0;
    // True when the folder is gone; it stays while it holds a file.
    virtual bool RemovePrivateFolder(const std::string& path) = 0;
    // Creates or replaces the file with exactly `bytes`. Deleting it can fail
    // while a running driver was loaded from it.
    virtual bool WriteImageFile(const std::string& path, const std::vector<uint8_t>& bytes) = 0;
    virtual void DeleteImageFile(const std::string& path) = 0;

    // The driver's device, opened for reading and writing, shared, existing
    // only, for overlapped requests.
    virtual Handle OpenPortDevice(const std::string& path) = 0;
    virtual bool ClosePortDevice(Handle device) = 0;
    // One device-control request with `buffer` as input (inLength bytes) and
    // output (outLength bytes), waited for until it completes.
    virtual bool ControlPortDevice(Handle device, uint32_t code, void* buffer, uint32_t inLength,
                                   uint32_t outLength, uint32_t& bytesReturned) = 0;
};
