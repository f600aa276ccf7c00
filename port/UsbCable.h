#pragma once

#include "port/ByteCable.h"
#include "port/UsbDevice.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The USB link cable: its own computer does the calculator's handshake, and
// link packets cross the bus as they stand, each written in one bulk
// transfer. Every read asks for a whole USB packet, since a shorter one
// would lose what the cable sends beyond it; what the link has not taken
// yet waits here. After a failure the cable is reset and opened afresh at
// the next exchange: it may refuse everything until then.
class CUsbCable final : public IByteCable {
public:
    // `place` chooses among the cables plugged in: empty for the first one,
    // its number in the listing ("2"), or where it is ("003:007").
    CUsbCable(std::unique_ptr<IUsbBus> bus, std::string place);
    ~CUsbCable() override;

    bool Open(std::string& error) override;
    void Close() override;
    int Write(const uint8_t* data, size_t size, uint32_t waitMs) override;
    int Read(uint8_t* data, size_t size, uint32_t waitMs) override;
    void Purge() override;
    bool NeedsReopen() const override { return m_bFailed; }
    std::string DescribeFailure() const override;

    // Bulk transfers since the cable was made, for the benchmarks.
    uint64_t GetInTransfers() const { return m_nInTransfers; }
    uint64_t GetOutTransfers() const { return m_nOutTransfers; }

private:
    int Watch(UsbResult result, size_t done);

    std::unique_ptr<IUsbBus> m_pBus;
    std::string m_strPlace;
    std::unique_ptr<IUsbDevice> m_pDevice;
    bool m_bOpen = false;
    bool m_bFailed = false;
    bool m_bGone = false;
    std::vector<uint8_t> m_inPacket;
    size_t m_nInPos = 0;
    size_t m_nInSize = 0;
    uint64_t m_nInTransfers = 0;
    uint64_t m_nOutTransfers = 0;
};

// The entry `place` names among `entries` (see CUsbCable), or null.
const UsbCableEntry* FindUsbCable(const std::vector<UsbCableEntry>& entries, const std::string& place);
// "2.08" for the release number 0x0208.
std::string UsbVersionText(uint16_t bcdVersion);
// "bus:address" as the cables are listed: "003:007".
std::string UsbPlaceText(unsigned bus, unsigned address);
