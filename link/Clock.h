#pragma once

#include <chrono>
#include <cstdint>

// Source of elapsed milliseconds for the link's timed waits. The program uses
// a monotonic clock, so a wait measures true elapsed time across any change
// of second, minute, hour or wall-clock setting; tests use a fake one.
class IClock {
public:
    virtual ~IClock() = default;
    virtual uint64_t NowMs() = 0;
};

class CSteadyClock final : public IClock {
public:
    uint64_t NowMs() override
    {
        using namespace std::chrono;
        return static_cast<uint64_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
};
