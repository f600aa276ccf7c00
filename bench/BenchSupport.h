#pragma once

// What the benchmarks share: their clock, elapsed times, and the PC's end of
// the simulated cable.

#include "link/Link.h"
#include "link/Packets.h"
#include "port/PortBackend.h"

#include <chrono>
#include <cstdint>
#include <ctime>
#include <memory>
#include <vector>

using BenchClock = std::chrono::steady_clock;

// The time from `start` to `end` in units of `Period` (std::milli,
// std::micro, std::nano).
template <class Period>
double Elapsed(BenchClock::time_point start, BenchClock::time_point end)
{
    return std::chrono::duration<double, Period>(end - start).count();
}

template <class Period>
double ElapsedSince(BenchClock::time_point start)
{
    return Elapsed<Period>(start, BenchClock::now());
}

// Puts `link` on the cable at `base` through `backend` (the cable's own, or
// one passing its accesses on) and opens the port; false when it will not.
inline bool OpenLink(CLink& link, std::unique_ptr<IPortBackend> backend, uint16_t base)
{
    return link.Open(std::move(backend), base, link.GetTimeout());
}

// The packets in the bytes one side sent: a header, and data with their sum
// when the command carries data.
inline size_t CountPackets(const std::vector<uint8_t>& bytes)
{
    size_t packets = 0;
    for (size_t at = 0; at + 4 <= bytes.size(); ++packets) {
        const uint8_t command = bytes[at + 1];
        const size_t length = bytes[at + 2] | (bytes[at + 3] << 8);
        const bool data = command == CMD_VAR || command == CMD_DATA || command == CMD_REQ || command == CMD_CONT;
        at += 4 + (data ? length + 2 : 0);
    }
    return packets;
}

#ifndef _WIN32
// The calling thread's processor time in nanoseconds.
inline double ThreadCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}
#endif
