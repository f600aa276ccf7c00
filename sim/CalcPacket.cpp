#include "sim/CalcPacket.h"

#include "link/Packets.h"

void AppendCalcPacket(std::vector<uint8_t>& out, const CalcPacket& packet)
{
    out.push_back(MACHINE_TI92);
    out.push_back(packet.command);
    AppendLittleEndian16(out, static_cast<uint16_t>(packet.data.size()));
    if (!packet.bHasData)
        return;
    out.insert(out.end(), packet.data.begin(), packet.data.end());
    const uint16_t sum = MakeChecksum(packet.data.data(), packet.data.size());
    AppendLittleEndian16(out, static_cast<uint16_t>(sum + packet.checksumError));
}
