#pragma once

#include "sim/CalcFaults.h"
#include "sim/CalcLinkEnd.h"
#include "sim/CalcMemory.h"
#include "sim/CalcReplies.h"
#include "sim/HomeSession.h"
#include "sim/PcPacketReader.h"
#include "sim/ScreenCanvas.h"

#include <array>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

// A TI-92 at the far end of the simulated cable (attach it with
// cable.SetPeer). It holds folders, variables and a screen, and answers the
// PC's ready check, directory listing, variable request, variable
// announcement, screen request, backup request and restore packet by packet,
// stepped only by the PC's port accesses. On a test's command it also sends
// variables or a backup by itself, as from its own menu. A bad checksum or a packet it does not expect gets the error
// packet 89 5A 00 00, after which it is idle again. A ready check or a screen
// request is answered in any state: it abandons an unfinished exchange, as the
// PC does when it gives up on one.
class CVirtualCalculator : public CCalcLinkEnd {
public:
    // Port accesses that a bit may hang half-way before the calculator drops
    // it; well below the accesses of one time-out of the PC.
    static constexpr uint32_t STALL_LIMIT = 250;

    // An empty calculator holding folder "main", showing its home screen.
    CVirtualCalculator();

    // Replaces everything held by the built-in sample calculator and redraws
    // the home screen.
    void LoadSampleContent();
    // `contents` are the bytes after the variable's length word. Creates the
    // folder when missing and replaces a variable of the same name; false
    // (nothing changed) for a bad name, a folder or directory type, or
    // contents longer than the link can carry.
    bool AddVariable(const std::string& folder, const std::string& name, uint8_t type,
                     uint8_t attribute, std::vector<uint8_t> contents);
    // Valid until the next change of the calculator's memory.
    const SimVariable* FindVariable(const std::string& folder, const std::string& name) const;
    CCalcMemory& Memory() { return m_memory; }
    const CCalcMemory& Memory() const { return m_memory; }

    // 240 x 128 pixels, 30-byte rows, most significant bit leftmost, bit set
    // = dark; sent as it is at the time of the request.
    SimScreen& Screen() { return m_screen; }
    void DrawHomeScreen();
    // The home screen's entry line and history, which key packets drive
    // (after the first key it replaces the start screen).
    const CHomeSession& Home() const { return m_home; }

    // As from the VAR-LINK menu: sends the variables named "folder\name",
    // each under a header carrying that path, then EOT. False (nothing
    // queued) when one is missing or an exchange is under way.
    bool SendVariablesFromMenu(const std::vector<std::string>& paths);
    // Sends its backup in blocks, as when backing up from its own menu.
    bool SendBackupFromMenu();

    // Fault injection. Packet faults are planned on Faults(); line faults
    // come from CCalcLinkEnd (HoldBothLines).
    CCalcFaults& Faults() { return m_faults; }
    // Stops dead, lines as they are, once this many bytes (and then bits)
    // have moved either way from now: extraBits 1 to 7 freezes mid-byte.
    void FallSilentAfterBytes(uint64_t bytes, unsigned extraBits = 0);
    // Ends every fault; at the next port access the link is reset and the
    // calculator idle.
    void ClearFaults();

    bool IsIdle() const { return m_state == State::Idle || m_state == State::AfterScreen; }
    // Error packets sent because of the PC's packets (not planned faults).
    uint64_t GetErrorsAnswered() const { return m_nErrorsAnswered; }

protected:
    void OnByteReceived(uint8_t value) override;
    void OnLinkReset() override;

private:
    enum class State {
        Idle,
        AfterScreen,      // an acknowledgement of the screen may still come
        ListWaitAck,      // listing: before each entry, the PC's ACK ...
        ListWaitCts,      // ... and CTS
        ListWaitEntryAck, // the PC acknowledges the entry
        ListWaitFinalAck, // the PC acknowledges the closing EOT
        OutWaitAck,       // sending variables or blocks: after a header, the PC's ACK ...
        OutWaitCts,       // ... and CTS
        OutWaitDataAck,   // the PC acknowledges the data packet
        OutWaitFinalAck,  // the PC acknowledges the closing EOT
        RestoreWaitBlock, // restore: a block's header, or the closing EOT
        RestoreWaitAck,   // after our CTS, the PC's ACK
        RestoreWaitData,  // the block
        InWaitAck,        // announcement: after our CTS, the PC's ACK
        InWaitData,       // the PC's data packet
        InWaitEot,        // the PC's closing EOT
    };

    void OnPacket(const PcPacket& packet);
    void OnIdlePacket(const PcPacket& packet);
    void OnRequest(const PcPacket& packet);
    void OnAnnouncement(const PcPacket& packet);
    void OnKey(const PcPacket& packet);
    void OnIncomingData(const PcPacket& packet);
    void OnListingEntryAcknowledged();
    void OnBackupRequest();
    void OnRestoreStart(const PcVariableHeader& header);
    void OnRestorePacket(const PcPacket& packet);
    // Queues a header for each item; the first goes out after `lead`
    // packets (the acknowledgement of a request), or alone.
    void StartSending(std::initializer_list<CalcPacket> lead);
    void QueueBackupBlocks();
    // Moves on to `next` when the packet is `command`, else refuses it.
    void Await(const PcPacket& packet, uint8_t command, State next);
    // Queues the packets through the planned faults and moves to `next`; an
    // error fault ends the answer there and leaves the calculator idle.
    void Answer(std::initializer_list<CalcPacket> packets, State next);
    void Answer(std::vector<CalcPacket> packets, State next);
    void Refuse();

    CCalcMemory m_memory;
    SimScreen m_screen{};
    CHomeSession m_home;
    CCalcFaults m_faults;
    CPcPacketReader m_reader;
    State m_state = State::Idle;
    uint64_t m_nErrorsAnswered = 0;

    // The exchange under way.
    std::vector<std::vector<uint8_t>> m_listing;
    size_t m_nNextEntry = 0;
    // What is sent one header and data packet after the other.
    struct Outgoing {
        std::vector<uint8_t> header;
        std::vector<uint8_t> data;
    };
    std::deque<Outgoing> m_outgoing;
    PcVariableHeader m_incoming;
    size_t m_nRestoreLength = 0;
    std::vector<uint8_t> m_restoreImage;
};
