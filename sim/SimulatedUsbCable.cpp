#include "sim/SimulatedUsbCable.h"

#include "text/ProgramTexts.h"
#include "text/StringIds.h"

class CSimulatedUsbCable::CDevice final : public IUsbDevice {
public:
    explicit CDevice(CSimulatedUsbCable& usb) : m_usb(usb) {}

    bool Open(std::string& error) override
    {
        if (m_usb.m_cable.IsUnplugged()) {
            error = ProgramText(IDS_USB_NONE);
            return false;
        }
        if (m_usb.m_bClaimedElsewhere) {
            error = ProgramText(IDS_USB_BUSY, {PLACE});
            return false;
        }
        // A calculator whose cable was pulled out gave up on the exchange
        // under way.
        if (m_usb.m_bWasUnplugged)
            m_usb.m_end.RequestLinkReset();
        m_usb.m_bWasUnplugged = false;
        ++m_usb.m_nOpens;
        m_bOpen = true;
        return true;
    }
    void Close() override { m_bOpen = false; }
    size_t GetMaxPacketSize() const override { return m_usb.m_nMaxPacket; }

    UsbResult BulkOut(const uint8_t* data, size_t size, uint32_t, size_t& done) override
    {
        done = 0;
        if (!m_bOpen || Unplugged())
            return UsbResult::Gone;
        ++m_usb.m_nOutTransfers;
        for (; done < size; ++done)
            m_usb.m_end.ReceiveWholeByte(data[done]);
        return UsbResult::Done;
    }

    UsbResult BulkIn(uint8_t* data, size_t size, uint32_t, size_t& done) override
    {
        done = 0;
        if (!m_bOpen || Unplugged())
            return UsbResult::Gone;
        ++m_usb.m_nInTransfers;
        if (m_usb.m_nEmptyReadEvery != 0 && m_usb.m_nInTransfers % m_usb.m_nEmptyReadEvery == 0) {
            ++m_usb.m_nEmptyReads;
            return UsbResult::Done;
        }
        // One USB packet: the cable sends what the calculator has, up to a packet's worth.
        uint8_t packet[USB_LARGEST_PACKET];
        size_t count = 0;
        while (count < m_usb.m_nMaxPacket && count < sizeof packet && m_usb.m_end.TakeWholeByte(packet[count]))
            ++count;
        if (count == 0)
            return UsbResult::TimedOut;
        if (count > size)
            return UsbResult::Failed; // the bus's overflow: the packet did not fit, and it is lost
        for (size_t i = 0; i < count; ++i)
            data[i] = packet[i];
        done = count;
        return UsbResult::Done;
    }

    void Reset() override { m_bOpen = false; }

private:
    bool Unplugged()
    {
        if (m_usb.m_nUnplugAfter != 0 && --m_usb.m_nUnplugAfter == 0)
            m_usb.m_cable.SetOpenFailure(true);
        m_usb.m_bWasUnplugged = m_usb.m_bWasUnplugged || m_usb.m_cable.IsUnplugged();
        return m_usb.m_cable.IsUnplugged();
    }

    CSimulatedUsbCable& m_usb;
    bool m_bOpen = false;
};

class CSimulatedUsbCable::CBus final : public IUsbBus {
public:
    explicit CBus(CSimulatedUsbCable& usb) : m_usb(usb) {}

    std::vector<UsbCableEntry> ListCables(std::string&) override
    {
        if (m_usb.m_cable.IsUnplugged()) {
            m_usb.m_bWasUnplugged = true;
            return {};
        }
        UsbCableEntry entry;
        entry.strPlace = PLACE;
        entry.wProduct = m_usb.m_wProduct;
        entry.wVersion = m_usb.m_wVersion;
        return {entry};
    }
    std::unique_ptr<IUsbDevice> MakeDevice(const UsbCableEntry&) override { return std::make_unique<CDevice>(m_usb); }

private:
    CSimulatedUsbCable& m_usb;
};

CSimulatedUsbCable::CSimulatedUsbCable(CSimulatedCable& cable, CCalcLinkEnd& end) : m_cable(cable), m_end(end) {}

CSimulatedUsbCable::~CSimulatedUsbCable() = default;

std::unique_ptr<IUsbBus> CSimulatedUsbCable::MakeBus() { return std::make_unique<CBus>(*this); }
