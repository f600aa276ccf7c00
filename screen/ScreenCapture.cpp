#include "screen/ScreenCapture.h"

#include "link/Link.h"
#include "link/LinkProgress.h"
#include "link/Packets.h"
#include "text/StringIds.h"

#include <algorithm>
#include <array>

namespace {

// The request, the acknowledgement, the data packet's header and checksum
// around a full screen.
constexpr uint64_t EXCHANGE_BYTES = 4 + 4 + PACKET_HEADER_SIZE + SCREEN_BYTES + 2;

} // namespace

bool ReceiveScreen(CLink& link, std::span<uint8_t, SCREEN_BYTES> screen)
{
    CLinkExchange exchange(link, IDS_PROGRESS_SCREEN, {}, EXCHANGE_BYTES);
    if (!link.SendSequence(SEQ_SCREEN))
        return false;
    if (!link.ExpectSequence(SEQ_CALC_ACK))
        return false;

    // The machine id is taken as it comes; the command must say data, or
    // what follows is not the screen.
    uint8_t header[PACKET_HEADER_SIZE] = {};
    for (uint8_t& byte : header) {
        if (!link.ReceiveByte(byte))
            return false;
    }
    if (header[1] != CMD_DATA)
        return false;
    const uint16_t length = static_cast<uint16_t>(header[2] | (header[3] << 8));

    // Read aside, so that a screen whose checksum fails leaves the buffer
    // as it was.
    std::array<uint8_t, SCREEN_BYTES> received;
    size_t stored = 0;
    uint16_t sum = 0;
    uint32_t i = 0;
    for (; i < length; ++i) {
        uint8_t byte = 0;
        if (!link.ReceiveByte(byte))
            break;
        sum = static_cast<uint16_t>(sum + byte);
        if (i < SCREEN_BYTES)
            received[stored++] = static_cast<uint8_t>(~byte);
    }
    uint8_t checksum[2] = {};
    const bool complete = i == length && link.ReceiveByte(checksum[0]) && link.ReceiveByte(checksum[1]);
    if (!complete) {
        // A calculator that stopped answering leaves what it sent; a cancel
        // leaves nothing.
        if (!link.WasCancelled())
            std::copy_n(received.begin(), stored, screen.begin());
        return false;
    }
    // The display is exactly one screen: a packet of another length whose
    // sum agrees is still not a picture of it, and is not shown in part.
    if (static_cast<uint16_t>(checksum[0] | (checksum[1] << 8)) != sum || length != SCREEN_BYTES)
        return false;
    std::copy_n(received.begin(), stored, screen.begin());
    return true;
}
