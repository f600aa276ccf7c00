#include "cli/CablesCommand.h"

#include "cli/CliLink.h"
#include "cli/CliOptions.h"
#include "link/Packets.h"
#include "port/SerialPorts.h"
#include "port/UsbCable.h"
#include "settings/Settings.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <ostream>

namespace {

// Opens the cable and asks the calculator whether it is ready.
std::string Probe(const CCliOptions& options, CableKind cable, uint16_t base, const std::string& port,
                  uint32_t timeout, ILinkProgress& progress, CBuiltInCalculator* simulated)
{
    CCliLink link(progress, simulated);
    std::string error;
    bool fileError = false;
    if (!link.Open(options, cable, base, port, timeout, error, fileError))
        return error;
    const bool answered = link.Link().SendSequence(SEQ_RDY) && link.Link().ExpectSequence(SEQ_CALC_ACK);
    return answered ? "answered" : "no answer";
}

// One line for each USB link cable: where it is, what it is, and why it
// cannot be used or, with --probe, whether the calculator answered through
// it; one line saying why there is none when there is none.
template <typename ProbeFunction>
void ListUsbCables(const CCliOptions& options, uint16_t base, std::ostream& out, ProbeFunction probe,
                   CBuiltInCalculator* simulated)
{
    CSystemCableParts system;
    std::unique_ptr<CBuiltInCalculator> ownSimulation;
    ICableParts* parts = &system;
    if (options.bSimulate) {
        if (simulated == nullptr)
            simulated = (ownSimulation = std::make_unique<CBuiltInCalculator>(base)).get();
        parts = simulated;
    }
    std::string problem;
    const std::vector<UsbCableEntry> cables = parts->MakeUsbBus()->ListCables(problem);
    if (cables.empty())
        out << "usb\t-\t" << (problem.empty() ? ProgramText(IDS_USB_NONE) : ProgramText(IDS_USB_UNAVAILABLE, {problem}))
            << '\n';
    for (const UsbCableEntry& entry : cables) {
        out << "usb\t" << entry.strPlace << '\t'
            << (entry.wProduct == USB_PRODUCT_LINK_CABLE ? "version " + UsbVersionText(entry.wVersion)
                                                         : std::string("0451:3410, damaged EEPROM"));
        if (options.bProbe) {
            out << '\t' << probe(entry.strPlace);
        } else {
            CUsbCable cable(parts->MakeUsbBus(), entry.strPlace);
            std::string error;
            if (!cable.Open(error))
                out << '\t' << error;
        }
        out << '\n';
    }
}

} // namespace

int RunCablesCommand(const CCliOptions& options, const CSettings& settings, std::ostream& out,
                     ILinkProgress& progress, CBuiltInCalculator* simulated)
{
    const uint16_t base = options.portBase.value_or(static_cast<uint16_t>(settings.GetPortBase()));
    const std::string chosenSerial = options.strSerialPort.empty() ? settings.GetSerialPort() : options.strSerialPort;
    // The simulated calculator is behind whichever port is named.
    std::vector<std::string> serialPorts;
    if (!options.bSimulate)
        serialPorts = ListSystemSerialPorts();
    if (std::find(serialPorts.begin(), serialPorts.end(), chosenSerial) == serialPorts.end())
        serialPorts.push_back(chosenSerial);

    const auto line = [&](CableKind cable, const std::string& port) {
        out << CableWord(cable) << '\t' << port;
        if (options.bProbe)
            out << '\t' << Probe(options, cable, base, port, settings.GetTimeout(), progress, simulated);
        out << '\n';
    };
    std::string parallel = options.strPortDevice;
    if (parallel.empty()) {
        char text[8];
        std::snprintf(text, sizeof text, "0x%03X", static_cast<unsigned>(base));
        parallel = text;
    }
    line(CableKind::Parallel, parallel);
    for (CableKind cable : {CableKind::BlackSerial, CableKind::GraySerial})
        for (const std::string& port : serialPorts)
            line(cable, port);
    ListUsbCables(options, base, out, [&](const std::string& place) {
        return Probe(options, CableKind::Usb, base, place, settings.GetTimeout(), progress, simulated);
    }, simulated);
    return 0;
}
