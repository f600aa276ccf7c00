#include "cli/CliLink.h"

#include "cli/CliOptions.h"
#include "link/CableChoice.h"
#include "settings/Settings.h"
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

namespace {

// The system's ports, with a parallel port named by its device.
class CCliCableParts final : public ICableParts {
public:
    explicit CCliCableParts(const std::string& parportDevice) : m_strParportDevice(parportDevice) {}

    std::unique_ptr<IPortBackend> MakeParallelPort(uint16_t base) override
    {
#ifndef _WIN32
        if (!m_strParportDevice.empty())
            return std::make_unique<CParportBackend>(RealLinuxSystem(), m_strParportDevice, base);
#endif
        return m_system.MakeParallelPort(base);
    }
    std::unique_ptr<ISerialDevice> MakeSerialPort(const std::string& name) override
    {
        return m_system.MakeSerialPort(name);
    }
    std::unique_ptr<IUsbBus> MakeUsbBus() override { return m_system.MakeUsbBus(); }

private:
    const std::string& m_strParportDevice;
    CSystemCableParts m_system;
};

} // namespace

std::string CliCablePort(const CCliOptions& options, const CSettings& settings, CableKind cable)
{
    if (cable == CableKind::Usb)
        return options.strUsbPort;
    return options.strSerialPort.empty() ? settings.GetSerialPort() : options.strSerialPort;
}

CBuiltInCalculator* CCliLink::PrepareSimulation(const CCliOptions& options, uint16_t base, std::string& error)
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
            error = "--simulate: " + options.strSimulateDir +
                    (std::filesystem::exists(SystemPath(options.strSimulateDir), ec) ? " is not a folder" : " does not exist");
            return nullptr;
        }
        simulated->LoadFolder(options.strSimulateDir, m_loadProblems);
    }
    return simulated;
}

bool CCliLink::Open(const CCliOptions& options, const CSettings& settings, std::string& error, bool& fileError)
{
    CableKind cable = CableKind::Parallel;
    fileError = false;
    // The parser has checked --port against --cable; a port against the
    // stored cable is checked here.
    if (!ResolveCable(options, settings.GetCable(), cable, error))
        return false;
    return Open(options, cable, static_cast<uint16_t>(settings.GetPortBase()), CliCablePort(options, settings, cable),
                settings.GetTimeout(), error, fileError);
}

bool CCliLink::Open(const CCliOptions& options, CableKind cable, uint16_t base, const std::string& port,
                    uint32_t timeout, std::string& error, bool& fileError)
{
    fileError = false;
    if (options.portBase)
        base = *options.portBase;
    CCliCableParts systemParts(options.strPortDevice);
    ICableParts* parts = &systemParts;
    if (options.bSimulate) {
        m_bSimulated = true;
        parts = PrepareSimulation(options, base, error);
        if (parts == nullptr) {
            fileError = true;
            return false;
        }
    }
    ChooseCable(m_link, cable, base, port, *parts);
    m_link.SetProgress(&m_progress);
    if (!m_link.Open(base, options.timeout.value_or(timeout))) {
        error = m_link.GetOpenError();
        return false;
    }
    return true;
}
