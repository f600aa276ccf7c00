#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the serial ports are set to, in the communications API's terms.
struct CommSettings {
    uint32_t baudRate = 9600;
    uint8_t byteSize = 8;
    bool bParity = false;    // no parity
    bool bTwoStopBits = false;
    bool bFlowControl = false; // CTS, DSR, XON/XOFF handshakes
    bool bDtrOn = true;       // DTR and RTS asserted, not handshakes
    bool bRtsOn = true;
};

// The Windows communications calls of the serial ports, behind one seam so
// that the port code (names, settings, line functions, time-outs, error
// wording) runs in tests on any system. Strings are UTF-8. Calls that fail
// return NO_HANDLE or false and leave the system's error code for
// LastErrorCode().
class IWin32CommSystem {
public:
    using Handle = std::uintptr_t;
    static constexpr Handle NO_HANDLE = 0;

    // EscapeCommFunction's codes and GetCommModemStatus's bits.
    enum Escape : uint32_t { SET_RTS = 3, CLR_RTS = 4, SET_DTR = 5, CLR_DTR = 6 };
    static constexpr uint32_t MODEM_CTS_ON = 0x10;
    static constexpr uint32_t MODEM_DSR_ON = 0x20;

    virtual ~IWin32CommSystem() = default;

    virtual uint32_t LastErrorCode() = 0;
    // CreateFile for reading and writing, not shared, existing only.
    virtual Handle OpenComm(const std::string& path) = 0;
    virtual void CloseComm(Handle handle) = 0;
    // GetCommState, the settings put in, SetCommState.
    virtual bool SetCommSettings(Handle handle, const CommSettings& settings) = 0;
    // A read returns what has come at once, or waits up to `readWaitMs` for
    // the first byte; a write may take up to `writeWaitMs`.
    virtual bool SetCommWaits(Handle handle, uint32_t readWaitMs, uint32_t writeWaitMs) = 0;
    virtual bool EscapeComm(Handle handle, Escape function) = 0;
    virtual bool GetModemStatus(Handle handle, uint32_t& status) = 0;
    virtual bool ReadComm(Handle handle, uint8_t* data, uint32_t size, uint32_t& done) = 0;
    virtual bool WriteComm(Handle handle, const uint8_t* data, uint32_t size, uint32_t& done) = 0;
    // PurgeComm of both directions.
    virtual bool PurgeBoth(Handle handle) = 0;
    // The COM ports the system lists.
    virtual std::vector<std::string> ListCommPorts() = 0;
};

#if defined(_WIN32)
// The running system's own calls.
IWin32CommSystem& RealWin32CommSystem();
#endif
