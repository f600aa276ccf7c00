#pragma once

#include "port/PortvaneSystem.h"

#include <cstdint>
#include <string>

// The driver's kernel service "Portvane": pointing it at the image file,
// creating and starting it, and stopping and deleting it again.
class CPortvaneService {
public:
    static constexpr const char* SERVICE_NAME = "Portvane";

    explicit CPortvaneService(IPortvaneSystem& system) : m_system(system) {}

    // Points an existing service at `binaryPath`, so that a service left over
    // from an earlier run loads the image about to be written. No effect when
    // there is no such service or no access.
    void ReconfigureService(const std::string& binaryPath);
    // Creates (or finds) the service for `binaryPath` and starts it.
    void InstallService(const std::string& binaryPath);
    bool CreateAndStartService(IPortvaneSystem::Handle manager, const std::string& name,
                               const std::string& binaryPath);
    // Stops the service and deletes it, unless it would not stop.
    void RemoveService();

    // The step of the last InstallService that failed, and the system's code.
    enum class Failure { None, ManagerDenied, CreateFailed, StartFailed };
    Failure GetLastFailure() const { return m_failure; }
    uint32_t GetLastErrorCode() const { return m_dwError; }

    static PortvaneServiceConfig MakeConfig(const std::string& name, const std::string& binaryPath);

private:
    void Fail(Failure failure);

    IPortvaneSystem& m_system;
    Failure m_failure = Failure::None;
    uint32_t m_dwError = 0;
};
