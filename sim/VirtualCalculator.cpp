#include "sim/VirtualCalculator.h"

#include "link/KeyPacket.h"
#include "link/Packets.h"
#include "sim/CalcBackupImage.h"
#include "sim/HomeScreen.h"
#include "sim/SampleContent.h"

#include <algorithm>
#include <limits>

namespace {

constexpr uint16_t CTS_LENGTH_FROM_PC = 0xFFFF;
constexpr uint8_t BACKUP_TYPE = 0x1D;

std::vector<uint8_t> NamedHeader(uint32_t size, uint8_t type, const std::string& name)
{
    std::vector<uint8_t> header;
    for (int shift = 0; shift < 32; shift += 8)
        header.push_back(static_cast<uint8_t>(size >> shift));
    header.push_back(type);
    header.push_back(static_cast<uint8_t>(name.size()));
    header.insert(header.end(), name.begin(), name.end());
    return header;
}

// A packet without data must say so in its length field; the PC's
// clear-to-send may also carry FF FF there, and a key packet carries its key.
bool HasFittingLength(const PcPacket& packet)
{
    if (CPcPacketReader::CarriesData(packet.command) || packet.command == CMD_KEY)
        return true;
    return packet.length == 0 || (packet.command == CMD_CTS && packet.length == CTS_LENGTH_FROM_PC);
}

} // namespace

CVirtualCalculator::CVirtualCalculator()
{
    SetStallLimit(STALL_LIMIT);
    DrawHomeScreen();
}

void CVirtualCalculator::LoadSampleContent()
{
    ::LoadSampleContent(m_memory);
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

void CVirtualCalculator::DrawHomeScreen()
{
    if (m_home.IsInUse())
        m_home.Draw(m_screen);
    else
        ::DrawHomeScreen(m_screen, m_memory);
}

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
    Answer(std::vector<CalcPacket>(packets), next);
}

void CVirtualCalculator::Answer(std::vector<CalcPacket> packets, State next)
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
        Answer({CalcPacket::Bare(CMD_ACK), CalcPacket::WithData(CMD_DATA, m_outgoing.front().data)},
               State::OutWaitDataAck);
        return;
    case State::OutWaitDataAck:
        if (packet.command != CMD_ACK) {
            Refuse();
            return;
        }
        m_outgoing.pop_front();
        if (m_outgoing.empty())
            Answer({CalcPacket::Bare(CMD_EOT)}, State::OutWaitFinalAck);
        else
            Answer({CalcPacket::WithData(CMD_VAR, m_outgoing.front().header)}, State::OutWaitAck);
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
    case State::RestoreWaitBlock:
    case State::RestoreWaitAck:
    case State::RestoreWaitData:
        OnRestorePacket(packet);
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
    case CMD_KEY:
        OnKey(packet);
        return;
    default:
        Refuse();
        return;
    }
}

void CVirtualCalculator::StartSending(std::initializer_list<CalcPacket> lead)
{
    std::vector<CalcPacket> packets(lead);
    packets.push_back(CalcPacket::WithData(CMD_VAR, m_outgoing.front().header));
    Answer(std::move(packets), State::OutWaitAck);
}

void CVirtualCalculator::QueueBackupBlocks()
{
    const std::vector<uint8_t> image = MakeBackupImage(m_memory);
    m_outgoing.clear();
    for (size_t offset = 0; offset < image.size(); offset += SIM_BACKUP_BLOCK_SIZE) {
        const size_t length = std::min(SIM_BACKUP_BLOCK_SIZE, image.size() - offset);
        std::vector<uint8_t> data(4, 0);
        data.insert(data.end(), image.begin() + static_cast<std::ptrdiff_t>(offset),
                    image.begin() + static_cast<std::ptrdiff_t>(offset + length));
        m_outgoing.push_back({NamedHeader(static_cast<uint32_t>(length), BACKUP_TYPE, SIM_ROM_VERSION),
                              std::move(data)});
    }
}

void CVirtualCalculator::OnBackupRequest()
{
    QueueBackupBlocks();
    StartSending({CalcPacket::Bare(CMD_ACK)});
}

bool CVirtualCalculator::SendVariablesFromMenu(const std::vector<std::string>& paths)
{
    if (!IsIdle() || HasPendingOutput() || paths.empty())
        return false;
    std::deque<Outgoing> outgoing;
    for (const std::string& path : paths) {
        const size_t separator = path.find('\\');
        const SimVariable* variable = separator == std::string::npos
                                          ? nullptr
                                          : m_memory.FindVariable(path.substr(0, separator), path.substr(separator + 1));
        if (variable == nullptr)
            return false;
        outgoing.push_back({NamedHeader(static_cast<uint32_t>(variable->contents.size() + 2), variable->type, path),
                            MakeVariableData(*variable)});
    }
    m_outgoing = std::move(outgoing);
    StartSending({});
    return true;
}

bool CVirtualCalculator::SendBackupFromMenu()
{
    if (!IsIdle() || HasPendingOutput())
        return false;
    QueueBackupBlocks();
    StartSending({});
    return true;
}

void CVirtualCalculator::OnRestoreStart(const PcVariableHeader& header)
{
    // Only a backup of its own kind can be used: one of another ROM is
    // refused before anything of it is taken.
    if (header.folder != "main" || header.name != SIM_ROM_VERSION || header.size == 0) {
        Refuse();
        return;
    }
    m_nRestoreLength = header.size;
    m_restoreImage.clear();
    Answer({CalcPacket::Bare(CMD_ACK)}, State::RestoreWaitBlock);
}

void CVirtualCalculator::OnRestorePacket(const PcPacket& packet)
{
    switch (m_state) {
    case State::RestoreWaitBlock:
        if (packet.command == CMD_VAR && packet.data.size() >= 5 && packet.data[4] == BACKUP_TYPE) {
            Answer({CalcPacket::Bare(CMD_ACK), CalcPacket::Bare(CMD_CTS)}, State::RestoreWaitAck);
            return;
        }
        // The memory is replaced only by a whole image it can read.
        if (packet.command == CMD_EOT && m_restoreImage.size() == m_nRestoreLength &&
            ReadBackupImage(m_restoreImage, m_memory)) {
            DrawHomeScreen();
            Answer({CalcPacket::Bare(CMD_ACK)}, State::Idle);
            return;
        }
        break;
    case State::RestoreWaitAck:
        Await(packet, CMD_ACK, State::RestoreWaitData);
        return;
    case State::RestoreWaitData:
        if (packet.command == CMD_DATA && m_restoreImage.size() + packet.data.size() <= m_nRestoreLength) {
            m_restoreImage.insert(m_restoreImage.end(), packet.data.begin(), packet.data.end());
            Answer({CalcPacket::Bare(CMD_ACK)}, State::RestoreWaitBlock);
            return;
        }
        break;
    default:
        break;
    }
    Refuse();
}

void CVirtualCalculator::OnRequest(const PcPacket& packet)
{
    if (packet.data.size() >= 5 && packet.data[4] == BACKUP_TYPE) {
        OnBackupRequest();
        return;
    }
    if (packet.data.size() >= 5 && packet.data[4] == CCalcMemory::DIRECTORY_TYPE) {
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
    m_outgoing.assign(1, {MakeVariableHeader(*variable), MakeVariableData(*variable)});
    StartSending({CalcPacket::Bare(CMD_ACK)});
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
    if (header && header->type == BACKUP_TYPE) {
        OnRestoreStart(*header);
        return;
    }
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
    // Its home screen counts the variables of each folder.
    DrawHomeScreen();
    Answer({CalcPacket::Bare(CMD_ACK)}, State::InWaitEot);
}

void CVirtualCalculator::OnKey(const PcPacket& packet)
{
    // The key is acknowledged first and then acted on, as the calculator's
    // keyboard handler takes it; its screen shows the outcome at once.
    Answer({CalcPacket::Bare(CMD_ACK)}, State::Idle);
    m_home.OnKey(packet.length, m_memory);
    DrawHomeScreen();
}
