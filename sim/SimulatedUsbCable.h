#pragma once

#include "port/UsbDevice.h"
#include "sim/CalcLinkEnd.h"
#include "sim/SimulatedCable.h"

#include <cstdint>
#include <memory>
#include <string>

// A USB link cable with the simulated calculator behind it, at the level of
// bulk transfers, so that the real USB cable's code runs against it. As the
// real cable's own computer does, it hands the calculator every byte of an
// OUT transfer and answers an IN transfer with at most one USB packet of
// what the calculator has sent: nothing at all when it has sent nothing
// (a time-out), and an IN transfer shorter than a packet, while more is
// waiting, overflows and fails as on the bus. The simulated cable's
// unplugging pulls this one out too.
class CSimulatedUsbCable {
public:
    static constexpr const char* PLACE = "001:005";

    CSimulatedUsbCable(CSimulatedCable& cable, CCalcLinkEnd& end);
    ~CSimulatedUsbCable();

    // The system's USB with this one cable on it; the cable must outlive it.
    std::unique_ptr<IUsbBus> MakeBus();

    // What the cable shows itself as: its release number (0x0208 or
    // 0x0103), or the damaged-EEPROM id.
    void SetVersion(uint16_t bcdVersion) { m_wVersion = bcdVersion; }
    void SetProduct(uint16_t product) { m_wProduct = product; }
    void SetMaxPacketSize(size_t size) { m_nMaxPacket = size; }
    // Faults: another program has claimed the cable; every `n`th IN
    // transfer comes back empty although the calculator has sent bytes
    // (0: none does).
    void SetClaimedElsewhere(bool claimed) { m_bClaimedElsewhere = claimed; }
    void SetEmptyReadEvery(uint32_t n) { m_nEmptyReadEvery = n; }
    // The cable is pulled out (the simulated cable's unplugging) once this
    // many more transfers have gone; 0 for never.
    void UnplugAfterTransfers(uint64_t n) { m_nUnplugAfter = n; }

    // Transfers since the counts were last reset.
    uint64_t GetInTransfers() const { return m_nInTransfers; }
    uint64_t GetOutTransfers() const { return m_nOutTransfers; }
    uint64_t GetEmptyReads() const { return m_nEmptyReads; }
    uint64_t GetOpens() const { return m_nOpens; }
    void ResetCounts() { m_nInTransfers = m_nOutTransfers = m_nEmptyReads = m_nOpens = 0; }

private:
    class CBus;
    class CDevice;

    CSimulatedCable& m_cable;
    CCalcLinkEnd& m_end;
    uint16_t m_wVersion = 0x0208;
    uint16_t m_wProduct = USB_PRODUCT_LINK_CABLE;
    size_t m_nMaxPacket = USB_CABLE_PACKET;
    bool m_bClaimedElsewhere = false;
    uint32_t m_nEmptyReadEvery = 0;
    uint64_t m_nInTransfers = 0;
    uint64_t m_nOutTransfers = 0;
    uint64_t m_nEmptyReads = 0;
    uint64_t m_nOpens = 0;
    uint64_t m_nUnplugAfter = 0;
    bool m_bWasUnplugged = false;
};
