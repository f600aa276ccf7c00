#include "port/Win32SerialDevice.h"

#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <utility>

namespace {

// A byte at 9600 baud takes a little over a millisecond: a write of a whole
// packet is given two for each of its bytes besides the wait asked for.
constexpr uint32_t WRITE_MS_PER_BYTE = 2;

bool IsComName(const std::string& name, unsigned& number)
{
    if (name.size() < 4 || std::toupper(static_cast<unsigned char>(name[0])) != 'C' ||
        std::toupper(static_cast<unsigned char>(name[1])) != 'O' ||
        std::toupper(static_cast<unsigned char>(name[2])) != 'M' || name.size() > 6)
        return false;
    number = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return false;
        number = number * 10 + unsigned(name[i] - '0');
    }
    return number > 0;
}

} // namespace

CWin32SerialDevice::CWin32SerialDevice(IWin32CommSystem& system, std::string name)
    : m_system(system), m_strName(std::move(name))
{
}

CWin32SerialDevice::~CWin32SerialDevice() { Close(); }

std::string CWin32SerialDevice::DevicePath(const std::string& name)
{
    unsigned number = 0;
    if (!IsComName(name, number))
        return name;
    return "\\\\.\\COM" + std::to_string(number);
}

std::vector<std::string> CWin32SerialDevice::ListPorts(IWin32CommSystem& system)
{
    std::vector<std::string> ports;
    for (const std::string& name : system.ListCommPorts()) {
        unsigned number = 0;
        if (IsComName(name, number) && std::find(ports.begin(), ports.end(), name) == ports.end())
            ports.push_back(name);
    }
    std::sort(ports.begin(), ports.end(), [](const std::string& a, const std::string& b) {
        unsigned na = 0;
        unsigned nb = 0;
        IsComName(a, na);
        IsComName(b, nb);
        return na < nb;
    });
    return ports;
}

bool CWin32SerialDevice::Open(SerialMode mode, std::string& error)
{
    (void)mode; // one setting serves both: the black cable ignores the rate
    Close();
    m_hPort = m_system.OpenComm(DevicePath(m_strName));
    if (m_hPort == IWin32CommSystem::NO_HANDLE) {
        error = DescribeError(m_system.LastErrorCode());
        return false;
    }
    m_bWaitsSet = false;
    m_bLinesKnown = false;
    // DTR and RTS plainly on, not handshakes, so that the line functions
    // drive them; a device that takes no serial settings is no serial port.
    if (!m_system.SetCommSettings(m_hPort, CommSettings{})) {
        error = ProgramText(IDS_SERIAL_NOT_SERIAL, {m_strName});
        Close();
        return false;
    }
    m_bRts = m_bDtr = m_bLinesKnown = true;
    m_system.PurgeBoth(m_hPort);
    return true;
}

void CWin32SerialDevice::Close()
{
    if (m_hPort == IWin32CommSystem::NO_HANDLE)
        return;
    m_system.CloseComm(m_hPort);
    m_hPort = IWin32CommSystem::NO_HANDLE;
}

bool CWin32SerialDevice::SetLines(bool rts, bool dtr)
{
    if (m_hPort == IWin32CommSystem::NO_HANDLE)
        return false;
    // One call per line, and only for a line that changes.
    if ((!m_bLinesKnown || rts != m_bRts) &&
        !m_system.EscapeComm(m_hPort, rts ? IWin32CommSystem::SET_RTS : IWin32CommSystem::CLR_RTS))
        return false;
    m_bRts = rts;
    if ((!m_bLinesKnown || dtr != m_bDtr) &&
        !m_system.EscapeComm(m_hPort, dtr ? IWin32CommSystem::SET_DTR : IWin32CommSystem::CLR_DTR))
        return false;
    m_bDtr = dtr;
    m_bLinesKnown = true;
    return true;
}

bool CWin32SerialDevice::GetLines(bool& cts, bool& dsr)
{
    uint32_t status = 0;
    if (m_hPort == IWin32CommSystem::NO_HANDLE || !m_system.GetModemStatus(m_hPort, status))
        return false;
    cts = (status & IWin32CommSystem::MODEM_CTS_ON) != 0;
    dsr = (status & IWin32CommSystem::MODEM_DSR_ON) != 0;
    return true;
}

bool CWin32SerialDevice::SetWaits(uint32_t readWaitMs, uint32_t writeWaitMs)
{
    if (m_bWaitsSet && readWaitMs == m_dwReadWaitMs && writeWaitMs == m_dwWriteWaitMs)
        return true;
    if (!m_system.SetCommWaits(m_hPort, readWaitMs, writeWaitMs))
        return false;
    m_dwReadWaitMs = readWaitMs;
    m_dwWriteWaitMs = writeWaitMs;
    m_bWaitsSet = true;
    return true;
}

int CWin32SerialDevice::Write(const uint8_t* data, size_t size, uint32_t waitMs)
{
    if (m_hPort == IWin32CommSystem::NO_HANDLE)
        return -1;
    const uint32_t chunk = static_cast<uint32_t>(std::min<size_t>(size, INT_MAX / WRITE_MS_PER_BYTE / 2));
    uint32_t done = 0;
    if (!SetWaits(std::max<uint32_t>(m_dwReadWaitMs, 1), waitMs + chunk * WRITE_MS_PER_BYTE) ||
        !m_system.WriteComm(m_hPort, data, chunk, done))
        return -1;
    return static_cast<int>(done);
}

int CWin32SerialDevice::Read(uint8_t* data, size_t size, uint32_t waitMs)
{
    if (m_hPort == IWin32CommSystem::NO_HANDLE)
        return -1;
    const uint32_t chunk = static_cast<uint32_t>(std::min<size_t>(size, INT_MAX));
    uint32_t done = 0;
    // A wait of 0 would mean "forever" to a read that waits for its first byte.
    if (!SetWaits(std::max<uint32_t>(waitMs, 1), m_bWaitsSet ? m_dwWriteWaitMs : 1) ||
        !m_system.ReadComm(m_hPort, data, chunk, done))
        return -1;
    return static_cast<int>(done);
}

void CWin32SerialDevice::Purge()
{
    if (m_hPort != IWin32CommSystem::NO_HANDLE)
        m_system.PurgeBoth(m_hPort);
}

std::string CWin32SerialDevice::DescribeError(uint32_t code) const
{
    switch (code) {
    case SYSTEM_ERROR_FILE_NOT_FOUND:
    case SYSTEM_ERROR_PATH_NOT_FOUND:
        return ProgramText(IDS_SERIAL_NO_PORT, {m_strName});
    case SYSTEM_ERROR_ACCESS_DENIED:
    case SYSTEM_ERROR_SHARING_VIOLATION:
        // A COM port is never shared: refused means another program has it.
        return ProgramText(IDS_SERIAL_BUSY, {m_strName});
    default:
        return ProgramText(IDS_WITH_ERROR_CODE, {ProgramText(IDS_SERIAL_OPEN_FAILED, {m_strName}), std::to_string(code)});
    }
}
