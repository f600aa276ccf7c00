#pragma once

#include "link/Link.h"
#include "sim/BuiltInCalculator.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CSettings;
class ILinkProgress;
struct CCliOptions;

// The port of a serial cable or of the USB link cable (see ChooseCable):
// the options', or the stored serial port.
std::string CliCablePort(const CCliOptions& options, const CSettings& settings, CableKind cable);

// The link of one run: the configured cable (the parallel port, a named
// parport device, a serial port with the black or gray cable, the USB link
// cable), with the
// built-in simulated calculator behind it or a real one. Its exchanges
// report to `progress`, which may cancel them.
class CCliLink {
public:
    // `simulated`, when given, is used in place of a new calculator.
    explicit CCliLink(ILinkProgress& progress, CBuiltInCalculator* simulated = nullptr)
        : m_progress(progress), m_pGivenCalculator(simulated)
    {
    }
    ~CCliLink();

    CCliLink(const CCliLink&) = delete;
    CCliLink& operator=(const CCliLink&) = delete;

    // The cable, port and time-out are the settings', overridden by the
    // options. Opens the port, or the simulated calculator with its sample
    // content or with the variable files of the folder given, at the pace
    // asked for. On failure `error` says why in a sentence for the user;
    // `fileError` tells a folder that could not be loaded from a port that
    // did not open.
    bool Open(const CCliOptions& options, const CSettings& settings, std::string& error, bool& fileError);
    // The same for one cable and port, the time-out of the options or `timeout`.
    bool Open(const CCliOptions& options, CableKind cable, uint16_t base, const std::string& port,
              uint32_t timeout, std::string& error, bool& fileError);

    CLink& Link() { return m_link; }
    // The simulated calculator the link reaches; null for a port.
    CBuiltInCalculator* GetSimulated() const
    {
        return m_pGivenCalculator != nullptr && m_bSimulated ? m_pGivenCalculator : m_pSimulated.get();
    }
    // The files of the --simulate folder that could not be loaded, one line each.
    const std::vector<std::string>& GetLoadProblems() const { return m_loadProblems; }

private:
    CBuiltInCalculator* PrepareSimulation(const CCliOptions& options, uint16_t base, std::string& error);

    ILinkProgress& m_progress;
    CBuiltInCalculator* m_pGivenCalculator;
    std::unique_ptr<CBuiltInCalculator> m_pSimulated;
    std::vector<std::string> m_loadProblems;
    bool m_bSimulated = false;
    CLink m_link;
};
