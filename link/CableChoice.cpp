#include "link/CableChoice.h"

#include "link/Link.h"
#include "port/BlackCableBackend.h"
#include "port/GrayCable.h"
#include "port/HardwarePort.h"
#include "port/SerialPorts.h"
#include "port/UsbCable.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"

std::unique_ptr<IPortBackend> CSystemCableParts::MakeParallelPort(uint16_t base)
{
    return MakeHardwarePortBackend(base);
}

std::unique_ptr<ISerialDevice> CSystemCableParts::MakeSerialPort(const std::string& name)
{
    return MakeSystemSerialDevice(name);
}

std::unique_ptr<IUsbBus> CSystemCableParts::MakeUsbBus() { return MakeSystemUsbBus(); }

void ChooseCable(CLink& link, CableKind kind, uint16_t base, const std::string& port, ICableParts& parts)
{
    switch (kind) {
    case CableKind::Parallel:
        link.SetPortBackend(parts.MakeParallelPort(base));
        break;
    case CableKind::BlackSerial:
        link.SetPortBackend(std::make_unique<CBlackCableBackend>(parts.MakeSerialPort(port), base));
        break;
    case CableKind::GraySerial:
        link.SetByteCable(std::make_unique<CGrayCable>(parts.MakeSerialPort(port)));
        break;
    case CableKind::Usb:
        link.SetByteCable(std::make_unique<CUsbCable>(parts.MakeUsbBus(), port));
        break;
    }
}

CableKind GuessUnchosenCable(uint16_t base, ICableParts& parts)
{
    std::string problem;
    const std::vector<UsbCableEntry> cables = parts.MakeUsbBus()->ListCables(problem);
    if (cables.size() != 1 || cables.front().wProduct != USB_PRODUCT_LINK_CABLE)
        return CableKind::Parallel;
    std::unique_ptr<IPortBackend> parallel = parts.MakeParallelPort(base);
    std::string error;
    if (parallel->Open(error)) {
        parallel->Close();
        return CableKind::Parallel;
    }
    return CableKind::Usb;
}

std::string NameOfCablePort(CableKind cable, const std::string& port)
{
    if (cable != CableKind::Usb)
        return port;
    const std::string name = ProgramText(IDS_CABLE_USB);
    return port.empty() ? name : name + " " + port;
}
