#include "port/Win32UsbBus.h"

#include "port/UsbCable.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

using Record = IWin32UsbSystem::DeviceRecord;

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The product of a hardware id "USB\VID_0451&PID_E001&REV_0208" when it is
// one of the cable's, with its release number.
std::optional<uint16_t> CableProduct(const Record& record, uint16_t& version)
{
    for (const std::string& id : record.hardwareIds) {
        const std::string text = Upper(id);
        for (uint16_t product : {USB_PRODUCT_LINK_CABLE, USB_PRODUCT_DAMAGED_EEPROM}) {
            char prefix[32];
            std::snprintf(prefix, sizeof prefix, "USB\\VID_%04X&PID_%04X", USB_VENDOR_TI, product);
            if (text.rfind(prefix, 0) != 0)
                continue;
            const size_t rev = text.find("&REV_");
            version = 0;
            if (rev != std::string::npos)
                version = static_cast<uint16_t>(std::strtoul(text.c_str() + rev + 5, nullptr, 16));
            return product;
        }
    }
    return std::nullopt;
}

// "Port_#0002.Hub_#0003" as "hub:port", the nearest Windows has to the bus
// and address.
std::string PlaceOf(const Record& record, size_t order)
{
    unsigned port = 0;
    unsigned hub = 0;
    if (std::sscanf(record.strLocation.c_str(), "Port_#%u.Hub_#%u", &port, &hub) == 2)
        return UsbPlaceText(hub, port);
    return UsbPlaceText(0, static_cast<unsigned>(order));
}

bool IsGone(uint32_t code)
{
    using System = IWin32UsbSystem;
    return code == System::SYSTEM_ERROR_DEVICE_NOT_CONNECTED || code == System::SYSTEM_ERROR_BAD_COMMAND ||
           code == System::SYSTEM_ERROR_NO_SUCH_DEVICE || code == System::SYSTEM_ERROR_FILE_NOT_FOUND;
}

class CWin32UsbDevice final : public CEndpointUsbDevice {
public:
    CWin32UsbDevice(IWin32UsbSystem& system, UsbCableEntry entry) : m_system(system), m_entry(std::move(entry)) {}
    ~CWin32UsbDevice() override { Close(); }

    bool Open(std::string& error) override;
    void Close() override;
    size_t GetMaxPacketSize() const override { return m_nMaxPacket; }
    void Reset() override;

private:
    bool Fail(std::string& error, std::string text)
    {
        error = std::move(text);
        Close();
        return false;
    }
    std::string FindPath();
    // One transfer on the pipe: a read on the IN pipe, a write on the OUT one.
    UsbResult Transfer(uint8_t pipe, uint8_t* data, size_t size, uint32_t timeoutMs, size_t& done) override;
    UsbResult Finish(bool ok, uint32_t moved, size_t& done);
    bool SetTimeout(uint8_t pipe, uint32_t timeoutMs, uint32_t& current);

    IWin32UsbSystem& m_system;
    UsbCableEntry m_entry;
    IWin32UsbSystem::Handle m_hFile = IWin32UsbSystem::NO_HANDLE;
    IWin32UsbSystem::Handle m_hUsb = IWin32UsbSystem::NO_HANDLE;
    size_t m_nMaxPacket = USB_CABLE_PACKET;
    // The pipes' time-outs as last set; 0 for not set.
    uint32_t m_dwInTimeout = 0;
    uint32_t m_dwOutTimeout = 0;
};

std::string CWin32UsbDevice::FindPath()
{
    for (const Record& record : m_system.ListUsbDevices()) {
        if (Upper(record.strInstanceId) != Upper(m_entry.strSystemId))
            continue;
        for (const std::string& guid : record.interfaceGuids) {
            const std::string path = m_system.FindInterfacePath(guid, record.strInstanceId);
            if (!path.empty())
                return path;
        }
    }
    return {};
}

bool CWin32UsbDevice::Open(std::string& error)
{
    Close();
    const std::string path = FindPath();
    if (path.empty())
        return Fail(error, ProgramText(IDS_USB_NO_DRIVER, {m_entry.strPlace}));
    m_hFile = m_system.OpenDevice(path);
    if (m_hFile == IWin32UsbSystem::NO_HANDLE) {
        const uint32_t code = m_system.LastErrorCode();
        // WinUSB lets one program at a time open the cable.
        if (code == IWin32UsbSystem::SYSTEM_ERROR_ACCESS_DENIED)
            return Fail(error, ProgramText(IDS_USB_BUSY, {m_entry.strPlace}));
        if (IsGone(code))
            return Fail(error, ProgramText(IDS_USB_NONE));
        return Fail(error, ProgramText(IDS_USB_OPEN_FAILED, {m_entry.strPlace, "error " + std::to_string(code)}));
    }
    m_hUsb = m_system.InitializeWinUsb(m_hFile);
    if (m_hUsb == IWin32UsbSystem::NO_HANDLE)
        return Fail(error, ProgramText(IDS_USB_OPEN_FAILED,
                                       {m_entry.strPlace, "WinUSB error " + std::to_string(m_system.LastErrorCode())}));
    std::vector<IWin32UsbSystem::PipeRecord> pipes;
    if (!m_system.QueryPipes(m_hUsb, pipes))
        return Fail(error, ProgramText(IDS_USB_OPEN_FAILED,
                                       {m_entry.strPlace, "error " + std::to_string(m_system.LastErrorCode())}));
    bool in = false;
    bool out = false;
    for (const IWin32UsbSystem::PipeRecord& pipe : pipes) {
        if (!pipe.bBulk)
            continue;
        if (pipe.id == USB_ENDPOINT_IN) {
            in = true;
            m_nMaxPacket = pipe.wMaxPacket;
        }
        out = out || pipe.id == USB_ENDPOINT_OUT;
    }
    if (!in || !out)
        return Fail(error, ProgramText(IDS_USB_OPEN_FAILED, {m_entry.strPlace, "no bulk endpoints 0x81 and 0x02"}));
    m_dwInTimeout = m_dwOutTimeout = 0;
    return true;
}

void CWin32UsbDevice::Close()
{
    if (m_hUsb != IWin32UsbSystem::NO_HANDLE)
        m_system.FreeWinUsb(m_hUsb);
    if (m_hFile != IWin32UsbSystem::NO_HANDLE)
        m_system.CloseDevice(m_hFile);
    m_hUsb = m_hFile = IWin32UsbSystem::NO_HANDLE;
}

bool CWin32UsbDevice::SetTimeout(uint8_t pipe, uint32_t timeoutMs, uint32_t& current)
{
    // WinUSB takes 0 as no time-out at all.
    timeoutMs = std::max<uint32_t>(timeoutMs, 1);
    if (current == timeoutMs)
        return true;
    if (!m_system.SetPipeTimeout(m_hUsb, pipe, timeoutMs))
        return false;
    current = timeoutMs;
    return true;
}

UsbResult CWin32UsbDevice::Finish(bool ok, uint32_t moved, size_t& done)
{
    done = moved;
    if (ok)
        return UsbResult::Done;
    const uint32_t code = m_system.LastErrorCode();
    if (code == IWin32UsbSystem::SYSTEM_ERROR_SEM_TIMEOUT)
        return UsbResult::TimedOut;
    return IsGone(code) ? UsbResult::Gone : UsbResult::Failed;
}

UsbResult CWin32UsbDevice::Transfer(uint8_t pipe, uint8_t* data, size_t size, uint32_t timeoutMs, size_t& done)
{
    done = 0;
    if (m_hUsb == IWin32UsbSystem::NO_HANDLE)
        return UsbResult::Failed;
    if (!SetTimeout(pipe, timeoutMs, pipe == USB_ENDPOINT_IN ? m_dwInTimeout : m_dwOutTimeout))
        return Finish(false, 0, done);
    uint32_t moved = 0;
    const uint32_t count = static_cast<uint32_t>(size);
    const bool ok = pipe == USB_ENDPOINT_IN ? m_system.ReadPipe(m_hUsb, pipe, data, count, moved)
                                            : m_system.WritePipe(m_hUsb, pipe, data, count, moved);
    return Finish(ok, moved, done);
}

void CWin32UsbDevice::Reset()
{
    // WinUSB resets the pipes, not the device; closing lets the next open
    // start afresh.
    if (m_hUsb != IWin32UsbSystem::NO_HANDLE) {
        m_system.ResetPipe(m_hUsb, USB_ENDPOINT_IN);
        m_system.ResetPipe(m_hUsb, USB_ENDPOINT_OUT);
    }
    Close();
}

} // namespace

std::vector<UsbCableEntry> CWin32UsbBus::ListCables(std::string&)
{
    std::vector<UsbCableEntry> cables;
    const bool winUsb = m_system.LoadWinUsb();
    for (const Record& record : m_system.ListUsbDevices()) {
        UsbCableEntry entry;
        const auto product = CableProduct(record, entry.wVersion);
        if (!product)
            continue;
        entry.wProduct = *product;
        entry.strPlace = PlaceOf(record, cables.size() + 1);
        entry.strSystemId = record.strInstanceId;
        // A damaged cable is named as such when it is opened, whatever its driver.
        if (entry.wProduct == USB_PRODUCT_LINK_CABLE) {
            if (record.strService.empty() || record.interfaceGuids.empty())
                entry.strProblem = ProgramText(IDS_USB_NO_DRIVER, {entry.strPlace});
            else if (Upper(record.strService) != "WINUSB")
                entry.strProblem = ProgramText(IDS_USB_OTHER_DRIVER, {entry.strPlace, record.strService});
            else if (!winUsb)
                entry.strProblem = ProgramText(IDS_USB_NO_WINUSB);
        }
        cables.push_back(entry);
    }
    std::sort(cables.begin(), cables.end(),
              [](const UsbCableEntry& a, const UsbCableEntry& b) { return a.strPlace < b.strPlace; });
    return cables;
}

std::unique_ptr<IUsbDevice> CWin32UsbBus::MakeDevice(const UsbCableEntry& entry)
{
    return std::make_unique<CWin32UsbDevice>(m_system, entry);
}
