#pragma once

#include "link/CableChoice.h"
#include "link/Clock.h"
#include "sim/CablePace.h"
#include "sim/SimulatedCable.h"
#include "sim/SimulatedSerialPort.h"
#include "sim/SimulatedUsbCable.h"
#include "sim/VirtualCalculator.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The built-in calculator, holding the sample content, on its simulated
// cable: for trying the program without hardware. It must outlive the port
// client that uses its backend.
class CBuiltInCalculator final : public ICableParts {
public:
    explicit CBuiltInCalculator(uint16_t base);
    ~CBuiltInCalculator() override;

    CBuiltInCalculator(const CBuiltInCalculator&) = delete;
    CBuiltInCalculator& operator=(const CBuiltInCalculator&) = delete;

    std::unique_ptr<IPortBackend> MakeBackend() { return m_cable.MakeBackend(); }
    // Every cable leads to this calculator: the serial port named `name`
    // serves the black and the gray cable.
    std::unique_ptr<IPortBackend> MakeParallelPort(uint16_t) override { return MakeBackend(); }
    std::unique_ptr<ISerialDevice> MakeSerialPort(const std::string& name) override
    {
        return std::make_unique<CSimulatedSerialPort>(m_cable, m_calculator, name);
    }
    // ... and the one USB link cable plugged in.
    std::unique_ptr<IUsbBus> MakeUsbBus() override { return m_usb.MakeBus(); }
    CSimulatedUsbCable& GetUsbCable() { return m_usb; }
    CSimulatedCable& GetCable() { return m_cable; }
    CVirtualCalculator& GetCalculator() { return m_calculator; }

    // Moves no more than `bytesPerSecond` bytes a second on the cable, as a
    // real link does, measured on the steady clock; 0 (the default) answers
    // at once.
    void SetPace(uint32_t bytesPerSecond);

    // Replaces the sample content by the variables of the files in `folder`;
    // what could not be loaded is described in `problems`.
    size_t LoadFolder(const std::string& folder, std::vector<std::string>& problems);

    // What the calculator is to send from its own menu whenever the program
    // begins to wait for it: "folder\name" of each variable, or the word
    // MENU_SEND_BACKUP for its whole memory (one transmission holds either).
    // False, with `error` saying why in English as a command line's errors
    // are, when one is not there or both are named; nothing is kept then.
    bool SetMenuSend(const std::vector<std::string>& items, std::string& error);
    // Sends what SetMenuSend named, as the user would from the calculator's
    // menu; false when nothing is named or an exchange is under way.
    bool SendFromMenu();

    static constexpr const char* MENU_SEND_BACKUP = "backup";

private:
    CSimulatedCable m_cable;
    CVirtualCalculator m_calculator;
    CSimulatedUsbCable m_usb{m_cable, m_calculator};
    CSteadyClock m_clock;
    std::unique_ptr<CCablePace> m_pPace;
    std::vector<std::string> m_menuSend;
};
