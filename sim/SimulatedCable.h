#pragma once

#include "port/PortBackend.h"

#include <cstdint>
#include <memory>
#include <vector>

class CSimulatedCable;

// The calculator's end of the simulated cable. It is stepped on every PC
// port access (after a write has taken effect, before a read is answered),
// so a simulated calculator runs deterministically, without threads or time.
class ICablePeer {
public:
    virtual ~ICablePeer() = default;
    virtual void Step(CSimulatedCable& cable) = 0;
};

// The two open-collector lines between the PC and the calculator. Each end
// pulls a line by driving 0; a line reads 1 only while neither end pulls it.
// The PC sees the lines through its data register (bit 0 drives line D0,
// bit 1 line D1) and its status register (line D0 at bit 5, line D1 at bit 4).
class CSimulatedCable {
public:
    // Status bits that carry no line: busy and the unused low bits read high.
    static constexpr uint8_t FIXED_STATUS_BITS = 0x87;

    struct Access {
        bool bWrite;
        uint16_t port;
        uint8_t value;
    };

    explicit CSimulatedCable(uint16_t base = 0x378);

    void SetPeer(ICablePeer* peer) { m_pPeer = peer; }
    uint16_t GetBase() const { return m_wBase; }

    // A port backend that reaches this cable; the cable must outlive it.
    std::unique_ptr<IPortBackend> MakeBackend();
    // Makes the next Open of a backend fail, as a missing device would; a
    // simulated serial port also fails every call meanwhile, as an adapter
    // pulled out does.
    void SetOpenFailure(bool fail) { m_bOpenFails = fail; }
    bool IsUnplugged() const { return m_bOpenFails; }

    // The PC's side, as the port backend calls it.
    bool OpenFromPc(std::string& error);
    uint8_t ReadFromPc(uint16_t port);
    void WriteFromPc(uint16_t port, uint8_t value);

    // Line levels: true while neither end pulls the line.
    bool LineD0() const { return !PcPullsD0() && !m_bCalcPullsD0; }
    bool LineD1() const { return !PcPullsD1() && !m_bCalcPullsD1; }
    bool PcPullsD0() const { return (m_data & 0x01) == 0; }
    bool PcPullsD1() const { return (m_data & 0x02) == 0; }

    // The calculator's side.
    void SetCalcPulls(bool d0, bool d1)
    {
        m_bCalcPullsD0 = d0;
        m_bCalcPullsD1 = d1;
    }
    bool CalcPullsD0() const { return m_bCalcPullsD0; }
    bool CalcPullsD1() const { return m_bCalcPullsD1; }

    uint8_t GetDataRegister() const { return m_data; }
    uint8_t GetStatusRegister() const;

    uint64_t GetReadCount() const { return m_nReads; }
    uint64_t GetWriteCount() const { return m_nWrites; }
    void ResetCounts() { m_nReads = m_nWrites = 0; }

    // Records every access while on; off by default to keep long runs lean.
    void SetLogging(bool on) { m_bLogging = on; }
    const std::vector<Access>& GetLog() const { return m_log; }
    void ClearLog() { m_log.clear(); }
    std::vector<uint8_t> GetWrittenValues() const;

private:
    uint16_t m_wBase;
    uint8_t m_data = 0xFF;
    bool m_bCalcPullsD0 = false;
    bool m_bCalcPullsD1 = false;
    bool m_bOpenFails = false;
    ICablePeer* m_pPeer = nullptr;
    uint64_t m_nReads = 0;
    uint64_t m_nWrites = 0;
    bool m_bLogging = false;
    std::vector<Access> m_log;
};
