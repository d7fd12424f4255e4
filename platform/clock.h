#pragma once
#include <cstdint>

namespace orvika2 {

class Clock {
public:
    virtual ~Clock() = default;
    // Millisecond tick for deadlines; wraps like GetTickCount.
    virtual std::uint32_t TickMs() = 0;
    virtual void SleepMs(std::uint32_t milliseconds) = 0;
    // Wall clock, seconds since the Unix epoch (UTC).
    virtual std::int64_t UnixSeconds() = 0;
};

// The process's real clock.
Clock& SystemClock();

}  // namespace orvika2
