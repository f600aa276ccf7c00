// vantrel92-gray-pty: the built-in simulated calculator behind a gray serial
// cable, on a pseudo-terminal. It prints the terminal's path on its first
// line and then answers whatever talks to that path as a gray cable with a
// TI-92 behind it would: plain bytes in, plain bytes out. So the programs'
// real serial code (termios on Linux, the communications API under Wine)
// is tested end to end without hardware.
//
//   vantrel92-gray-pty [--folder DIR] [--rate BYTES_PER_SECOND]
//
// Lines on standard input act on the calculator as from its own menu:
// "send FOLDER\NAME..." sends variables, "backup" its backup; "quit", or
// the end of the input, ends the program (so does SIGTERM).

#include "sim/BuiltInCalculator.h"
#include "sim/tools/PtyPump.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_nStop = 0;

void OnSignal(int) { g_nStop = 1; }

bool MakeRaw(int fd)
{
    termios settings{};
    if (tcgetattr(fd, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

// Acts on one line of standard input; false to end.
bool Obey(const std::string& line, CVirtualCalculator& calculator)
{
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "quit")
        return false;
    bool done = true;
    if (command == "send") {
        std::vector<std::string> paths;
        for (std::string path; words >> path;)
            paths.push_back(path);
        done = calculator.SendVariablesFromMenu(paths);
    } else if (command == "backup") {
        done = calculator.SendBackupFromMenu();
    } else if (!command.empty()) {
        done = false;
    }
    if (!done)
        std::cerr << "vantrel92-gray-pty: cannot do '" << line << "'\n";
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::string folder;
    uint32_t rate = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--folder" && i + 1 < argc) {
            folder = argv[++i];
        } else if (arg == "--rate" && i + 1 < argc) {
            rate = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else {
            std::cerr << "usage: vantrel92-gray-pty [--folder DIR] [--rate BYTES_PER_SECOND]\n";
            return 2;
        }
    }

    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("vantrel92-gray-pty: pseudo-terminal");
        return 1;
    }
    const std::string path = ptsname(master);
    // Held open, so that the terminal keeps its settings and the calculator
    // does not see a hang-up between one client and the next.
    const int slave = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (slave < 0 || !MakeRaw(slave) || !MakeRaw(master)) {
        std::perror("vantrel92-gray-pty: terminal settings");
        return 1;
    }

    CBuiltInCalculator calc(0x378);
    calc.SetPace(rate);
    if (!folder.empty()) {
        std::vector<std::string> problems;
        calc.LoadFolder(folder, problems);
        for (const std::string& problem : problems)
            std::cerr << "vantrel92-gray-pty: " << problem << '\n';
    }
    CVirtualCalculator& calculator = calc.GetCalculator();

    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    std::cout << path << std::endl;

    CPtyPump pump(master, calculator);
    std::string pendingLine;
    while (!g_nStop) {
        pump.Step(20);
        pollfd input{STDIN_FILENO, POLLIN, 0};
        if (poll(&input, 1, 0) <= 0 || (input.revents & (POLLIN | POLLHUP)) == 0)
            continue;
        char buffer[256];
        const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0)
            break;
        pendingLine.append(buffer, static_cast<size_t>(n));
        for (size_t end; (end = pendingLine.find('\n')) != std::string::npos;) {
            const std::string line = pendingLine.substr(0, end);
            pendingLine.erase(0, end + 1);
            if (!Obey(line, calculator))
                g_nStop = 1;
        }
    }
    close(slave);
    close(master);
    return 0;
}
