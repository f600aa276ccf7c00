#include "port/LinuxSystem.h"

#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <cerrno>
#include <fstream>
#include <sstream>

#if defined(__linux__)
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define VANTREL_HAS_PORT_INSTRUCTIONS 1
#endif
#endif

namespace {

class CRealLinuxSystem final : public ILinuxSystem {
public:
#if defined(__linux__)
    int Open(const std::string& path, int flags) override
    {
        const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
        return fd >= 0 ? fd : -errno;
    }

    int Ioctl(int fd, unsigned long request, void* arg) override
    {
        return ::ioctl(fd, request, arg) == 0 ? 0 : -errno;
    }

    void Close(int fd) override { ::close(fd); }

    std::vector<std::string> ListDirectory(const std::string& path) override
    {
        std::vector<std::string> names;
        if (DIR* dir = ::opendir(path.c_str())) {
            while (const dirent* entry = ::readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..")
                    names.push_back(name);
            }
            ::closedir(dir);
        }
        return names;
    }

    bool Exists(const std::string& path) override
    {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0;
    }

    std::string GroupOf(const std::string& path) override
    {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0)
            return {};
        const group* g = ::getgrgid(st.st_gid);
        return g ? std::string(g->gr_name) : std::string();
    }

    bool IsRoot() override { return ::geteuid() == 0; }
#else
    int Open(const std::string&, int) override { return -ENOSYS; }
    int Ioctl(int, unsigned long, void*) override { return -ENOSYS; }
    void Close(int) override {}
    std::vector<std::string> ListDirectory(const std::string&) override { return {}; }
    bool Exists(const std::string&) override { return false; }
    std::string GroupOf(const std::string&) override { return {}; }
    bool IsRoot() override { return false; }
#endif

    std::optional<std::string> ReadTextFile(const std::string& path) override
    {
        std::ifstream in(path);
        if (!in)
            return std::nullopt;
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

#if defined(VANTREL_HAS_PORT_INSTRUCTIONS)
    int IoPerm(unsigned long from, unsigned long count, bool enable) override
    {
        return ::ioperm(from, count, enable ? 1 : 0) == 0 ? 0 : -errno;
    }
    uint8_t InByte(uint16_t port) override { return ::inb(port); }
    void OutByte(uint16_t port, uint8_t value) override { ::outb(value, port); }
#else
    int IoPerm(unsigned long, unsigned long, bool) override { return -ENOSYS; }
    uint8_t InByte(uint16_t) override { return 0; }
    void OutByte(uint16_t, uint8_t) override {}
#endif
};

} // namespace

ILinuxSystem& RealLinuxSystem()
{
    static CRealLinuxSystem system;
    return system;
}

std::string NoAccessText(const std::string& device, const std::string& group)
{
    if (!group.empty())
        return ProgramText(IDS_PORT_JOIN_GROUP, {device, group, group});
    return ProgramText(IDS_PORT_ASK_ADMIN, {device});
}
