#include "link/KeyPacket.h"

#include "link/Link.h"
#include "link/Packets.h"

std::array<uint8_t, 5> MakeKeyPacket(uint16_t code)
{
    return {4, MACHINE_PC, CMD_KEY, static_cast<uint8_t>(code & 0xFF), static_cast<uint8_t>(code >> 8)};
}

bool SendKeyPress(CLink& link, uint16_t code)
{
    const std::array<uint8_t, 5> packet = MakeKeyPacket(code);
    return link.SendSequence(packet.data()) && link.ExpectSequence(SEQ_CALC_ACK);
}
