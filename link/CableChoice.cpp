#include "link/CableChoice.h"

#include "link/Link.h"
#include "port/BlackCableBackend.h"
#include "port/GrayCable.h"
#include "port/HardwarePort.h"
#include "port/SerialPorts.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"

namespace {

// Until the USB link cable is supported, choosing it opens nothing and says so.
class CUnsupportedCable final : public IByteCable {
public:
    bool Open(std::string& error) override
    {
        error = ProgramText(IDS_CABLE_USB_NOT_YET);
        return false;
    }
    void Close() override {}
    int Write(const uint8_t*, size_t, uint32_t) override { return -1; }
    int Read(uint8_t*, size_t, uint32_t) override { return -1; }
    void Purge() override {}
};

} // namespace

std::unique_ptr<IPortBackend> CSystemCableParts::MakeParallelPort(uint16_t base)
{
    return MakeHardwarePortBackend(base);
}

std::unique_ptr<ISerialDevice> CSystemCableParts::MakeSerialPort(const std::string& name)
{
    return MakeSystemSerialDevice(name);
}

void ChooseCable(CLink& link, CableKind kind, uint16_t base, const std::string& serialPort, ICableParts& parts)
{
    switch (kind) {
    case CableKind::Parallel:
        link.SetPortBackend(parts.MakeParallelPort(base));
        break;
    case CableKind::BlackSerial:
        link.SetPortBackend(std::make_unique<CBlackCableBackend>(parts.MakeSerialPort(serialPort), base));
        break;
    case CableKind::GraySerial:
        link.SetByteCable(std::make_unique<CGrayCable>(parts.MakeSerialPort(serialPort)));
        break;
    case CableKind::Usb:
        link.SetByteCable(std::make_unique<CUnsupportedCable>());
        break;
    }
}
