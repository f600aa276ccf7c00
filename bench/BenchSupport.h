#pragma once

// What the benchmarks share: their clock, elapsed times, and the PC's end of
// the simulated cable.

#include "link/Link.h"
#include "port/PortBackend.h"

#include <chrono>
#include <cstdint>
#include <memory>

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
