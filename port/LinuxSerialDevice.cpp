#include "port/LinuxSerialDevice.h"

#include "port/LinuxSystem.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>

namespace {

constexpr int WAIT_FOREVER_LIMIT_MS = 1 << 30;

// "ttyS10" after "ttyS9": the prefix, then the number.
bool NaturalLess(const std::string& a, const std::string& b)
{
    const size_t da = a.find_first_of("0123456789");
    const size_t db = b.find_first_of("0123456789");
    const std::string pa = a.substr(0, da);
    const std::string pb = b.substr(0, db);
    if (pa != pb || da == std::string::npos || db == std::string::npos)
        return a < b;
    const std::string na = a.substr(da);
    const std::string nb = b.substr(db);
    return na.size() != nb.size() ? na.size() < nb.size() : na < nb;
}

bool HasNumberAfter(const std::string& name, const std::string& prefix)
{
    return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
           std::all_of(name.begin() + static_cast<long>(prefix.size()), name.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

CLinuxSerialDevice::CLinuxSerialDevice(ILinuxSerialSystem& system, std::string path)
    : m_system(system), m_strPath(std::move(path))
{
}

CLinuxSerialDevice::~CLinuxSerialDevice() { Close(); }

bool CLinuxSerialDevice::Fail(std::string& error, std::string text)
{
    error = std::move(text);
    Close();
    return false;
}

bool CLinuxSerialDevice::Open(SerialMode mode, std::string& error)
{
    Close();
    // Non-blocking, or a port without a carrier would hold up the open; the
    // waits are poll's.
    const int fd = m_system.Open(m_strPath, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        error = DescribeOpenError(-fd);
        return false;
    }
    m_fd = fd;
    m_bModemBitsKnown = false;

    termios settings{};
    int result = m_system.GetAttributes(m_fd, settings);
    if (result == -ENOTTY || result == -EINVAL)
        return Fail(error, ProgramText(IDS_SERIAL_NOT_SERIAL, {m_strPath}));
    if (result != 0)
        return Fail(error, ProgramText(IDS_SERIAL_CANNOT_SET, {m_strPath, std::strerror(-result)}));
    // Another program of ours, or a terminal program, must not share it.
    m_system.Ioctl(m_fd, TIOCEXCL, nullptr);

    // Raw in both modes: the black cable's port must not echo, translate or
    // hang up either.
    settings.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                                                IXOFF | IXANY | INPCK);
    settings.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    settings.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
    settings.c_cflag |= CS8 | CREAD | CLOCAL;
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    if (mode == SerialMode::Bytes9600) {
        cfsetispeed(&settings, B9600);
        cfsetospeed(&settings, B9600);
    }
    result = m_system.SetAttributes(m_fd, settings);
    if (result != 0)
        return Fail(error, ProgramText(IDS_SERIAL_CANNOT_SET, {m_strPath, std::strerror(-result)}));
    if (mode == SerialMode::Bytes9600)
        m_system.Flush(m_fd, TCIOFLUSH);
    return true;
}

void CLinuxSerialDevice::Close()
{
    if (m_fd < 0)
        return;
    m_system.Close(m_fd);
    m_fd = -1;
}

bool CLinuxSerialDevice::GetLines(bool& cts, bool& dsr)
{
    int bits = 0;
    if (m_fd < 0 || m_system.Ioctl(m_fd, TIOCMGET, &bits) != 0)
        return false;
    m_nModemBits = bits;
    m_bModemBitsKnown = true;
    cts = (bits & TIOCM_CTS) != 0;
    dsr = (bits & TIOCM_DSR) != 0;
    return true;
}

bool CLinuxSerialDevice::SetLines(bool rts, bool dtr)
{
    if (m_fd < 0)
        return false;
    if (!m_bModemBitsKnown) {
        bool cts = false;
        bool dsr = false;
        if (!GetLines(cts, dsr))
            return false;
    }
    int bits = m_nModemBits & ~(TIOCM_RTS | TIOCM_DTR);
    bits |= (rts ? TIOCM_RTS : 0) | (dtr ? TIOCM_DTR : 0);
    if (m_system.Ioctl(m_fd, TIOCMSET, &bits) != 0)
        return false;
    m_nModemBits = bits;
    return true;
}

int CLinuxSerialDevice::Write(const uint8_t* data, size_t size, uint32_t waitMs)
{
    if (m_fd < 0)
        return -1;
    short revents = 0;
    const int ready = m_system.Poll(m_fd, POLLOUT, static_cast<int>(std::min<uint32_t>(waitMs, WAIT_FOREVER_LIMIT_MS)),
                                    revents);
    if (ready < 0 || (revents & (POLLERR | POLLHUP | POLLNVAL)) != 0)
        return -1;
    if (ready == 0)
        return 0;
    const int written = m_system.Write(m_fd, data, size);
    if (written == -EAGAIN || written == -EINTR)
        return 0;
    return written < 0 ? -1 : written;
}

int CLinuxSerialDevice::Read(uint8_t* data, size_t size, uint32_t waitMs)
{
    if (m_fd < 0)
        return -1;
    short revents = 0;
    const int ready = m_system.Poll(m_fd, POLLIN, static_cast<int>(std::min<uint32_t>(waitMs, WAIT_FOREVER_LIMIT_MS)),
                                    revents);
    if (ready < 0 || (revents & (POLLERR | POLLNVAL)) != 0)
        return -1;
    if (ready == 0)
        return 0;
    const int got = m_system.Read(m_fd, data, size);
    if (got == -EAGAIN || got == -EINTR)
        return 0;
    // Ready and nothing to read: the other end has hung up (an adapter
    // pulled out, the far side of a pseudo-terminal gone).
    return got <= 0 ? -1 : got;
}

void CLinuxSerialDevice::Purge()
{
    if (m_fd >= 0)
        m_system.Flush(m_fd, TCIOFLUSH);
}

std::string CLinuxSerialDevice::DescribeOpenError(int err) const
{
    switch (err) {
    case EACCES:
    case EPERM:
        return NoAccessText(m_strPath, m_system.GroupOf(m_strPath));
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return ProgramText(IDS_SERIAL_NO_PORT, {m_strPath});
    case EBUSY:
        return ProgramText(IDS_SERIAL_BUSY, {m_strPath});
    case ENOTTY:
        return ProgramText(IDS_SERIAL_NOT_SERIAL, {m_strPath});
    default:
        return ProgramText(IDS_PORT_CANNOT_OPEN, {m_strPath, std::strerror(err)});
    }
}

std::vector<std::string> CLinuxSerialDevice::ListPorts(ILinuxSerialSystem& system, const std::string& devRoot,
                                                       const std::string& sysRoot)
{
    std::vector<std::string> names;
    for (const std::string& name : system.ListDirectory(devRoot)) {
        if (HasNumberAfter(name, "ttyUSB") || HasNumberAfter(name, "ttyACM")) {
            names.push_back(name);
        } else if (HasNumberAfter(name, "ttyS")) {
            // The kernel makes ttyS0 to ttyS31 whether or not a UART is there;
            // type 0 is none.
            const auto type = system.ReadTextFile(sysRoot + "/class/tty/" + name + "/type");
            if (type && !type->empty() && std::strtol(type->c_str(), nullptr, 10) != 0)
                names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    std::vector<std::string> paths;
    for (const std::string& name : names)
        paths.push_back(devRoot + "/" + name);
    return paths;
}
