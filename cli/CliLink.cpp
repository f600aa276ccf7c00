#include "cli/CliLink.h"

#include "cli/CliOptions.h"
#include "port/HardwarePort.h"
#ifndef _WIN32
#include "port/LinuxSystem.h"
#include "port/ParportBackend.h"
#endif
#include "text/SystemPath.h"

#include <filesystem>
#include <system_error>
#include <utility>

CCliLink::~CCliLink()
{
    // The port is let go before the simulated cable it may reach goes away.
    m_link.SetPortBackend(nullptr);
    m_link.SetProgress(nullptr);
}

std::unique_ptr<IPortBackend> CCliLink::MakeSimulatedBackend(const CCliOptions& options, uint16_t base,
                                                             std::string& error)
{
    CBuiltInCalculator* simulated = m_pGivenCalculator;
    if (simulated == nullptr) {
        m_pSimulated = std::make_unique<CBuiltInCalculator>(base);
        simulated = m_pSimulated.get();
    }
    simulated->SetPace(options.nSimulateRate);
    if (!options.strSimulateDir.empty()) {
        std::error_code ec;
        if (!std::filesystem::is_directory(SystemPath(options.strSimulateDir), ec)) {
            error = options.strSimulateDir + " is not a folder";
            return nullptr;
        }
        simulated->LoadFolder(options.strSimulateDir, m_loadProblems);
    }
    return simulated->MakeBackend();
}

bool CCliLink::Open(const CCliOptions& options, uint16_t base, uint32_t timeout, std::string& error,
                    bool& fileError)
{
    fileError = false;
    if (options.portBase)
        base = *options.portBase;
    std::unique_ptr<IPortBackend> backend;
    if (options.bSimulate) {
        backend = MakeSimulatedBackend(options, base, error);
        if (!backend) {
            fileError = true;
            return false;
        }
#ifndef _WIN32
    } else if (!options.strPortDevice.empty()) {
        backend = std::make_unique<CParportBackend>(RealLinuxSystem(), options.strPortDevice, base);
#endif
    } else {
        backend = MakeHardwarePortBackend(base);
    }
    m_link.SetProgress(&m_progress);
    if (!m_link.Open(std::move(backend), base, options.timeout.value_or(timeout))) {
        error = m_link.GetOpenError();
        return false;
    }
    return true;
}
