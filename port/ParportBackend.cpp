#include "port/ParportBackend.h"

#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#if defined(__linux__)
#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#else
#define O_RDWR 2
#define PPCLAIM 0
#define PPRELEASE 1
#define PPEXCL 2
#define PPRSTATUS 3
#define PPRDATA 4
#define PPWDATA 5
#define PPRCONTROL 6
#define PPWCONTROL 7
#endif

namespace {

std::string Hex(uint16_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%03X", static_cast<unsigned>(value));
    return text;
}

// base-addr holds the base and the extended base, in decimal, separated by a tab.
std::optional<unsigned long> ParseBaseAddr(const std::string& text)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(begin, &end, 10);
    if (end == begin || errno != 0)
        return std::nullopt;
    return value;
}

} // namespace

CParportBackend::CParportBackend(ILinuxSystem& system, uint16_t base, std::string procRoot,
                                 std::string devRoot)
    : m_system(system), m_wBase(base), m_strProcRoot(std::move(procRoot)),
      m_strDevRoot(std::move(devRoot))
{
}

CParportBackend::CParportBackend(ILinuxSystem& system, std::string devicePath, uint16_t base,
                                 std::string procRoot)
    : m_system(system), m_wBase(base), m_strProcRoot(std::move(procRoot)),
      m_strDevice(std::move(devicePath))
{
}

CParportBackend::~CParportBackend() { Close(); }

std::optional<std::string> CParportBackend::FindDevice(ILinuxSystem& system, uint16_t base,
                                                       const std::string& procRoot,
                                                       const std::string& devRoot)
{
    const std::string dir = procRoot + "/sys/dev/parport";
    for (const std::string& name : system.ListDirectory(dir)) {
        if (name.rfind("parport", 0) != 0 || name.size() == 7)
            continue;
        const auto text = system.ReadTextFile(dir + "/" + name + "/base-addr");
        if (!text)
            continue;
        const auto value = ParseBaseAddr(*text);
        if (value && *value == base)
            return devRoot + "/" + name;
    }
    return std::nullopt;
}

bool CParportBackend::Open(std::string& error)
{
    Close();
    if (m_strDevice.empty()) {
        const auto found = FindDevice(m_system, m_wBase, m_strProcRoot, m_strDevRoot);
        if (!found) {
            error = ProgramText(IDS_PORT_UNKNOWN_BASE, {Hex(m_wBase)});
            return false;
        }
        m_strDevice = *found;
    }

    const int fd = m_system.Open(m_strDevice, O_RDWR);
    if (fd < 0) {
        error = DescribeOpenError(-fd);
        return false;
    }
    m_fd = fd;

    // Exclusive access first: the claim must not share the port with the printer driver.
    int result = m_system.Ioctl(m_fd, PPEXCL, nullptr);
    if (result == 0)
        result = m_system.Ioctl(m_fd, PPCLAIM, nullptr);
    if (result != 0) {
        error = DescribeClaimError(-result);
        m_system.Close(m_fd);
        m_fd = -1;
        return false;
    }
    m_bClaimed = true;
    return true;
}

void CParportBackend::Close()
{
    if (m_fd < 0)
        return;
    if (m_bClaimed)
        m_system.Ioctl(m_fd, PPRELEASE, nullptr);
    m_bClaimed = false;
    m_system.Close(m_fd);
    m_fd = -1;
}

uint8_t CParportBackend::ReadByte(uint16_t port)
{
    unsigned long request;
    switch (port - m_wBase) {
    case 0: request = PPRDATA; break;
    case 1: request = PPRSTATUS; break;
    case 2: request = PPRCONTROL; break;
    default: return 0;
    }
    unsigned char value = 0;
    // A failed request reads as both lines pulled; the cable layer then times out.
    if (m_fd < 0 || m_system.Ioctl(m_fd, request, &value) != 0)
        return 0;
    return value;
}

void CParportBackend::WriteByte(uint16_t port, uint8_t value)
{
    unsigned long request;
    switch (port - m_wBase) {
    case 0: request = PPWDATA; break;
    case 2: request = PPWCONTROL; break;
    default: return;
    }
    unsigned char byte = value;
    if (m_fd >= 0)
        m_system.Ioctl(m_fd, request, &byte);
}

std::string CParportBackend::DescribeOpenError(int err) const
{
    switch (err) {
    case EACCES:
    case EPERM:
        return NoAccessText(m_strDevice, m_system.GroupOf(m_strDevice));
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return ProgramText(IDS_PORT_NO_DEVICE, {m_strDevice});
    default:
        return ProgramText(IDS_PORT_CANNOT_OPEN, {m_strDevice, std::strerror(err)});
    }
}

std::string CParportBackend::DescribeClaimError(int err) const
{
    if (err == EBUSY || err == EAGAIN)
        return ProgramText(IDS_PORT_HELD, {m_strDevice});
    return ProgramText(IDS_PORT_CANNOT_CLAIM, {m_strDevice, std::strerror(err)});
}
