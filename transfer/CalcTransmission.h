#pragma once

#include "transfer/BackupFile.h"
#include "transfer/CalcPackets.h"

#include <cstdint>
#include <string>
#include <vector>

class CLink;

// A variable the calculator sent, with its data section exactly as the
// data packet carried it (four leading bytes, V, the contents).
struct ReceivedVariable {
    std::string folder; // empty when the calculator named no folder
    std::string name;
    uint8_t type = 0;
    std::vector<uint8_t> section;
};

// Everything of one transmission: the variables in the order they came and,
// when it carried blocks of the backup type, the backup they make.
struct CalcTransmission {
    std::vector<ReceivedVariable> variables;
    BackupImage backup;
    bool HasBackup() const { return !backup.data.empty(); }
};

// Receives what the calculator sends from the first variable header to its
// end of transmission. Per header: the PC acknowledges it and clears to send,
// the calculator acknowledges and sends a data packet (four bytes to skip,
// then the variable or the block), the PC acknowledges. Headers of the backup
// type bring the blocks of a backup, in order. The calculator ends with EOT,
// which the PC acknowledges. It runs inside one of the link's exchanges,
// whose cancel stops it at the next byte.
class CTransmissionReceiver {
public:
    explicit CTransmissionReceiver(CLink& link) : m_link(link) {}

    // `first` is the packet that began the transmission. Nothing of it is
    // kept unless it ends properly.
    ExchangeResult Receive(const ReceivedPacket& first, CalcTransmission& out);

private:
    bool ReceiveAll(const ReceivedPacket& first, CalcTransmission& out);
    bool ReceiveOne(const VariableHeader& header, CalcTransmission& out);

    CLink& m_link;
};
