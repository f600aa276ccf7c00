#include "sim/VirtualCalculator.h"

#include "link/Packets.h"
#include "sim/HomeScreen.h"
#include "sim/SampleCalculator.h"

#include <limits>

namespace {

constexpr uint16_t kCtsLengthFromPc = 0xFFFF;

// A packet without data must say so in its length field; the PC's
// clear-to-send may also carry FF FF there.
bool HasFittingLength(const PcPacket& packet)
{
    if (CPcPacketReader::CarriesData(packet.command))
        return true;
    return packet.length == 0 || (packet.command == CMD_CTS && packet.length == kCtsLengthFromPc);
}

} // namespace

CVirtualCalculator::CVirtualCalculator()
{
    SetStallLimit(kStallLimit);
    DrawHomeScreen();
}

void CVirtualCalculator::LoadSampleContent()
{
    LoadSampleCalculator(m_memory);
    DrawHomeScreen();
}

bool CVirtualCalculator::AddVariable(const std::string& folder, const std::string& name, uint8_t type,
                                     uint8_t attribute, std::vector<uint8_t> contents)
{
    return m_memory.AddVariable(folder, name, type, attribute, std::move(contents));
}

const SimVariable* CVirtualCalculator::FindVariable(const std::string& folder,
                                                    const std::string& name) const
{
    return m_memory.FindVariable(folder, name);
}

void CVirtualCalculator::DrawHomeScreen() { ::DrawHomeScreen(m_screen, m_memory); }

void CVirtualCalculator::FallSilentAfterBytes(uint64_t bytes, unsigned extraBits)
{
    GoSilentAfterBits(GetBitsMoved() + bytes * 8 + extraBits);
}

void CVirtualCalculator::ClearFaults()
{
    m_faults.Clear();
    HoldBothLines(false);
    GoSilentAfterBits(std::numeric_limits<uint64_t>::max());
    RequestLinkReset();
}

void CVirtualCalculator::OnLinkReset()
{
    m_reader.Reset();
    m_state = State::Idle;
}

void CVirtualCalculator::OnByteReceived(uint8_t value)
{
    if (m_reader.Add(value))
        OnPacket(m_reader.GetPacket());
}

void CVirtualCalculator::Answer(std::initializer_list<CalcPacket> packets, State next)
{
    std::vector<uint8_t> bytes;
    for (CalcPacket packet : packets) {
        const bool keep = m_faults.Shape(packet);
        AppendCalcPacket(bytes, packet);
        if (!keep) {
            next = State::Idle;
            break;
        }
    }
    QueueBytes(bytes);
    m_state = next;
}

void CVirtualCalculator::Refuse()
{
    ++m_nErrorsAnswered;
    Answer({CalcPacket::Bare(CMD_ERR)}, State::Idle);
}

void CVirtualCalculator::Await(const PcPacket& packet, uint8_t command, State next)
{
    if (packet.command != command) {
        Refuse();
        return;
    }
    m_state = next;
}

void CVirtualCalculator::OnPacket(const PcPacket& packet)
{
    if (packet.machine != MACHINE_PC || !HasFittingLength(packet) || !packet.ChecksumMatches()) {
        Refuse();
        return;
    }
    if (packet.command == CMD_RDY) {
        Answer({CalcPacket::Bare(CMD_ACK)}, State::Idle);
        return;
    }
    if (packet.command == CMD_SCR) {
        const std::vector<uint8_t> screen(m_screen.begin(), m_screen.end());
        Answer({CalcPacket::Bare(CMD_ACK), CalcPacket::WithData(CMD_DATA, screen)}, State::AfterScreen);
        return;
    }

    switch (m_state) {
    case State::Idle:
    case State::AfterScreen:
        OnIdlePacket(packet);
        return;
    case State::ListWaitAck:
        Await(packet, CMD_ACK, State::ListWaitCts);
        return;
    case State::ListWaitCts:
        if (packet.command != CMD_CTS) {
            Refuse();
            return;
        }
        Answer({CalcPacket::Bare(CMD_ACK), CalcPacket::WithData(CMD_DATA, m_listing[m_nNextEntry])},
               State::ListWaitEntryAck);
        return;
    case State::ListWaitEntryAck:
        if (packet.command != CMD_ACK) {
            Refuse();
            return;
        }
        OnListingEntryAcknowledged();
        return;
    case State::OutWaitAck:
        Await(packet, CMD_ACK, State::OutWaitCts);
        return;
    case State::OutWaitCts:
        if (packet.command != CMD_CTS) {
            Refuse();
            return;
        }
        Answer({CalcPacket::Bare(CMD_ACK), CalcPacket::WithData(CMD_DATA, m_outgoingData)},
               State::OutWaitDataAck);
        return;
    case State::OutWaitDataAck:
        if (packet.command != CMD_ACK) {
            Refuse();
            return;
        }
        Answer({CalcPacket::Bare(CMD_EOT)}, State::OutWaitFinalAck);
        return;
    case State::ListWaitFinalAck:
    case State::OutWaitFinalAck:
        Await(packet, CMD_ACK, State::Idle);
        return;
    case State::InWaitAck:
        Await(packet, CMD_ACK, State::InWaitData);
        return;
    case State::InWaitData:
        OnIncomingData(packet);
        return;
    case State::InWaitEot:
        if (packet.command != CMD_EOT) {
            Refuse();
            return;
        }
        Answer({CalcPacket::Bare(CMD_ACK)}, State::Idle);
        return;
    }
}

void CVirtualCalculator::OnIdlePacket(const PcPacket& packet)
{
    switch (packet.command) {
    case CMD_ACK:
        // The PC may acknowledge a screen it has read; nothing else.
        if (m_state == State::AfterScreen) {
            m_state = State::Idle;
            return;
        }
        Refuse();
        return;
    case CMD_REQ:
        OnRequest(packet);
        return;
    case CMD_VAR:
        OnAnnouncement(packet);
        return;
    default:
        Refuse();
        return;
    }
}

void CVirtualCalculator::OnRequest(const PcPacket& packet)
{
    if (packet.data.size() >= 5 && packet.data[4] == CCalcMemory::kDirectoryType) {
        m_listing = MakeDirectoryListing(m_memory);
        m_nNextEntry = 0;
        Answer({CalcPacket::Bare(CMD_ACK), CalcPacket::WithData(CMD_VAR, MakeListingHeader(m_listing.size()))},
               State::ListWaitAck);
        return;
    }
    const auto header = ReadPcVariableHeader(packet.data);
    const SimVariable* variable = header ? m_memory.FindVariable(header->folder, header->name) : nullptr;
    if (variable == nullptr) {
        Refuse();
        return;
    }
    m_outgoingData = MakeVariableData(*variable);
    Answer({CalcPacket::Bare(CMD_ACK), CalcPacket::WithData(CMD_VAR, MakeVariableHeader(*variable))},
           State::OutWaitAck);
}

void CVirtualCalculator::OnListingEntryAcknowledged()
{
    ++m_nNextEntry;
    if (m_nNextEntry < m_listing.size())
        Answer({CalcPacket::Bare(CMD_CONT)}, State::ListWaitAck);
    else
        Answer({CalcPacket::Bare(CMD_EOT)}, State::ListWaitFinalAck);
}

void CVirtualCalculator::OnAnnouncement(const PcPacket& packet)
{
    // The size field is not relied on: some senders count the data packet's
    // four leading bytes in it, some do not. The data packet tells.
    const auto header = ReadPcVariableHeader(packet.data);
    if (!header || !CCalcMemory::IsStorableType(header->type)) {
        Refuse();
        return;
    }
    m_incoming = *header;
    Answer({CalcPacket::Bare(CMD_ACK), CalcPacket::Bare(CMD_CTS)}, State::InWaitAck);
}

void CVirtualCalculator::OnIncomingData(const PcPacket& packet)
{
    const auto contents = packet.command == CMD_DATA ? ReadPcVariableData(packet.data) : std::nullopt;
    if (!contents || !m_memory.AddVariable(m_incoming.folder, m_incoming.name, m_incoming.type, 0,
                                           std::move(*contents))) {
        Refuse();
        return;
    }
    Answer({CalcPacket::Bare(CMD_ACK)}, State::InWaitEot);
}
