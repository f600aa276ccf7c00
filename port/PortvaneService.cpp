#include "port/PortvaneService.h"

PortvaneServiceConfig CPortvaneService::MakeConfig(const std::string& name, const std::string& binaryPath)
{
    PortvaneServiceConfig config;
    config.name = name;
    config.displayName = name;
    config.binaryPath = binaryPath;
    return config;
}

void CPortvaneService::Fail(Failure failure)
{
    m_failure = failure;
    m_dwError = m_system.LastErrorCode();
}

void CPortvaneService::ReconfigureService(const std::string& binaryPath)
{
    const auto manager = m_system.OpenServiceManager();
    if (manager == IPortvaneSystem::NO_HANDLE)
        return;
    const auto service = m_system.OpenExistingService(manager, SERVICE_NAME);
    if (service != IPortvaneSystem::NO_HANDLE) {
        m_system.ChangeServiceSettings(service, MakeConfig(SERVICE_NAME, binaryPath));
        m_system.CloseServiceObject(service);
    }
    m_system.CloseServiceObject(manager);
}

void CPortvaneService::InstallService(const std::string& binaryPath)
{
    m_failure = Failure::None;
    m_dwError = 0;
    const auto manager = m_system.OpenServiceManager();
    if (manager == IPortvaneSystem::NO_HANDLE) {
        Fail(Failure::ManagerDenied);
        return;
    }
    CreateAndStartService(manager, SERVICE_NAME, binaryPath);
    m_system.CloseServiceObject(manager);
}

bool CPortvaneService::CreateAndStartService(IPortvaneSystem::Handle manager, const std::string& name,
                                             const std::string& binaryPath)
{
    auto service = m_system.CreateKernelService(manager, MakeConfig(name, binaryPath));
    if (service == IPortvaneSystem::NO_HANDLE) {
        // Most often it exists already (ReconfigureService has re-pointed it).
        service = m_system.OpenExistingService(manager, name);
        if (service == IPortvaneSystem::NO_HANDLE) {
            Fail(Failure::CreateFailed);
            return false;
        }
    }
    const bool bStarted = m_system.StartDriverService(service);
    if (!bStarted)
        Fail(Failure::StartFailed);
    m_system.CloseServiceObject(service);
    return bStarted;
}

void CPortvaneService::RemoveService()
{
    const auto manager = m_system.OpenServiceManager();
    if (manager == IPortvaneSystem::NO_HANDLE)
        return;
    const auto service = m_system.OpenExistingService(manager, SERVICE_NAME);
    if (service != IPortvaneSystem::NO_HANDLE) {
        // A service that would not stop stays registered for the next run to
        // re-point. One that never started (its start failed) is deleted
        // rather than left behind.
        if (m_system.StopDriverService(service) != ServiceStopResult::Failed)
            m_system.DeleteDriverService(service);
        m_system.CloseServiceObject(service);
    }
    m_system.CloseServiceObject(manager);
}
