#include "port/UsbCable.h"

#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

namespace {

// A packet the cable takes slower than the link's short wait still goes in
// one transfer: the calculator moves well over a byte a millisecond.
constexpr uint32_t WRITE_MS_PER_BYTE = 1;
// What a purge reads away at most, each read waiting this long: a cable
// left mid-packet by a cancel holds at most a few of its own packets.
constexpr int PURGE_READS = 4;
constexpr uint32_t PURGE_WAIT_MS = 1;

std::optional<unsigned> Number(const std::string& text)
{
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (text.empty() || text.size() > 6 || !std::all_of(text.begin(), text.end(), digit))
        return std::nullopt;
    return static_cast<unsigned>(std::stoul(text));
}

// "3:7" and "003:007" alike.
std::optional<std::pair<unsigned, unsigned>> Place(const std::string& text)
{
    const size_t colon = text.find(':');
    if (colon == std::string::npos)
        return std::nullopt;
    const auto bus = Number(text.substr(0, colon));
    const auto address = Number(text.substr(colon + 1));
    if (!bus || !address)
        return std::nullopt;
    return std::make_pair(*bus, *address);
}

bool IsDamaged(const UsbCableEntry& entry) { return entry.wProduct == USB_PRODUCT_DAMAGED_EEPROM; }

} // namespace

const UsbCableEntry* FindUsbCable(const std::vector<UsbCableEntry>& entries, const std::string& place)
{
    if (place.empty()) {
        // A damaged cable is chosen only when there is nothing else, so
        // that opening it says what it is.
        const auto good =
            std::find_if(entries.begin(), entries.end(), [](const UsbCableEntry& e) { return !IsDamaged(e); });
        if (good != entries.end())
            return &*good;
        return entries.empty() ? nullptr : &entries.front();
    }
    if (const auto order = Number(place))
        return *order >= 1 && *order <= entries.size() ? &entries[*order - 1] : nullptr;
    const auto wanted = Place(place);
    for (const UsbCableEntry& entry : entries)
        if (wanted && Place(entry.strPlace) == wanted)
            return &entry;
    return nullptr;
}

std::string UsbVersionText(uint16_t bcdVersion)
{
    char text[8];
    std::snprintf(text, sizeof text, "%x.%02x", static_cast<unsigned>(bcdVersion >> 8),
                  static_cast<unsigned>(bcdVersion & 0xFF));
    return text;
}

std::string UsbPlaceText(unsigned bus, unsigned address)
{
    char text[16];
    std::snprintf(text, sizeof text, "%03u:%03u", bus % 1000, address % 1000);
    return text;
}

CUsbCable::CUsbCable(std::unique_ptr<IUsbBus> bus, std::string place)
    : m_pBus(std::move(bus)), m_strPlace(std::move(place))
{
}

CUsbCable::~CUsbCable() { Close(); }

bool CUsbCable::Open(std::string& error)
{
    Close();
    std::string problem;
    const std::vector<UsbCableEntry> entries = m_pBus->ListCables(problem);
    const UsbCableEntry* entry = FindUsbCable(entries, m_strPlace);
    if (entry == nullptr) {
        if (!m_strPlace.empty())
            error = ProgramText(IDS_USB_NOT_FOUND, {m_strPlace});
        else if (!problem.empty())
            error = ProgramText(IDS_USB_UNAVAILABLE, {problem});
        else
            error = ProgramText(IDS_USB_NONE);
        return false;
    }
    if (IsDamaged(*entry)) {
        error = ProgramText(IDS_USB_DAMAGED_EEPROM, {entry->strPlace});
        return false;
    }
    if (!entry->strProblem.empty()) {
        error = entry->strProblem;
        return false;
    }
    std::unique_ptr<IUsbDevice> device = m_pBus->MakeDevice(*entry);
    if (!device->Open(error))
        return false;
    size_t packet = device->GetMaxPacketSize();
    if (packet == 0 || packet > USB_LARGEST_PACKET)
        packet = USB_CABLE_PACKET;
    m_pDevice = std::move(device);
    m_inPacket.assign(packet, 0);
    m_nInPos = m_nInSize = 0;
    m_bOpen = true;
    m_bFailed = m_bGone = false;
    return true;
}

void CUsbCable::Close()
{
    if (!m_pDevice)
        return;
    // A cable that failed may refuse everything until it is reset; one
    // that was pulled out has nothing left to reset.
    if (m_bFailed && !m_bGone)
        m_pDevice->Reset();
    else
        m_pDevice->Close();
    m_pDevice.reset();
    m_bOpen = false;
    m_nInPos = m_nInSize = 0;
}

int CUsbCable::Watch(UsbResult result, size_t done)
{
    if (result == UsbResult::Gone || result == UsbResult::Failed) {
        m_bFailed = true;
        m_bGone = result == UsbResult::Gone;
        return -1;
    }
    return static_cast<int>(done);
}

int CUsbCable::Write(const uint8_t* data, size_t size, uint32_t waitMs)
{
    if (!m_bOpen || m_bFailed)
        return -1;
    size_t done = 0;
    ++m_nOutTransfers;
    const UsbResult result =
        m_pDevice->BulkOut(data, size, waitMs + static_cast<uint32_t>(size) * WRITE_MS_PER_BYTE, done);
    return Watch(result, done);
}

int CUsbCable::Read(uint8_t* data, size_t size, uint32_t waitMs)
{
    if (!m_bOpen || m_bFailed)
        return -1;
    if (m_nInPos == m_nInSize) {
        size_t done = 0;
        ++m_nInTransfers;
        const UsbResult result = m_pDevice->BulkIn(m_inPacket.data(), m_inPacket.size(), waitMs, done);
        if (Watch(result, done) < 0)
            return -1;
        // Nothing yet, or an empty packet: the link asks again within its time-out.
        m_nInPos = 0;
        m_nInSize = std::min(done, m_inPacket.size());
        if (m_nInSize == 0)
            return 0;
    }
    const size_t count = std::min(size, m_nInSize - m_nInPos);
    std::memcpy(data, m_inPacket.data() + m_nInPos, count);
    m_nInPos += count;
    return static_cast<int>(count);
}

void CUsbCable::Purge()
{
    m_nInPos = m_nInSize = 0;
    if (!m_bOpen || m_bFailed)
        return;
    for (int i = 0; i < PURGE_READS; ++i) {
        size_t done = 0;
        const UsbResult result = m_pDevice->BulkIn(m_inPacket.data(), m_inPacket.size(), PURGE_WAIT_MS, done);
        if (result != UsbResult::Done || done == 0)
            break;
    }
}

std::string CUsbCable::DescribeFailure() const { return m_bGone ? ProgramText(IDS_USB_UNPLUGGED) : std::string(); }
