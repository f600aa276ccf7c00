#include "screen/ScreenCapture.h"

#include "link/Link.h"
#include "link/Packets.h"

bool ReceiveScreen(CLink& link, std::span<uint8_t, SCREEN_BYTES> screen)
{
    if (!link.SendSequence(SEQ_SCREEN))
        return false;
    if (!link.ExpectSequence(SEQ_CALC_ACK))
        return false;

    // Machine id and command are taken as they come.
    uint8_t header[PACKET_HEADER_SIZE] = {};
    for (uint8_t& byte : header) {
        if (!link.ReceiveByte(byte))
            return false;
    }
    const uint16_t length = static_cast<uint16_t>(header[2] | (header[3] << 8));

    for (uint32_t i = 0; i < length; ++i) {
        uint8_t byte = 0;
        if (!link.ReceiveByte(byte))
            return false;
        if (i < screen.size())
            screen[i] = static_cast<uint8_t>(~byte);
    }

    for (int i = 0; i < 2; ++i) {
        uint8_t checksum = 0;
        if (!link.ReceiveByte(checksum))
            return false;
    }
    return true;
}
