#include "transfer/ExchangeOpening.h"

#include "link/Link.h"
#include "link/LinkProgress.h"
#include "link/Packets.h"
#include "text/StringIds.h"
#include "text/UserMessages.h"

#include <algorithm>

std::vector<uint8_t> BuildVariableHeaderPacket(uint8_t command, const std::string& folder, const std::string& name,
                                               uint8_t type, uint16_t size)
{
    return BuildNamedHeaderPacket(command, folder + "\\" + name, type, size);
}

std::vector<uint8_t> BuildNamedHeaderPacket(uint8_t command, const std::string& path, uint8_t type, uint32_t size)
{
    if (path.size() > 0xFF)
        return {};
    std::vector<uint8_t> data(6 + path.size(), 0);
    for (int i = 0; i < 4; ++i)
        data[i] = static_cast<uint8_t>(size >> (8 * i));
    data[4] = type;
    data[5] = static_cast<uint8_t>(path.size());
    std::copy(path.begin(), path.end(), data.begin() + 6);
    return MakeCountedPacket(MACHINE_PC, command, data);
}

bool OpenVariableExchange(CLink& link, IUserMessages& messages, const uint8_t* firstPacket)
{
    if (!link.SendSequence(SEQ_RDY))
        return false;
    if (!link.ExpectSequence(SEQ_CALC_ACK)) {
        if (!link.WasCancelled())
            messages.ShowMessage(IDS_NOT_READY);
        return false;
    }
    link.SendSequence(firstPacket);
    return true;
}

uint64_t VariableExchangeBytes(size_t sectionLength, size_t pathLength)
{
    // Nine four-byte packets (ready, acknowledgements, clear to send, end),
    // two that carry the path, and the data packet's header and checksum.
    constexpr uint64_t SHORT_PACKETS = 9 * PACKET_HEADER_SIZE;
    constexpr uint64_t PATH_PACKET_FIXED = PACKET_HEADER_SIZE + 6 + 2;
    return SHORT_PACKETS + 2 * (PATH_PACKET_FIXED + pathLength) + PACKET_HEADER_SIZE + sectionLength + 2;
}
