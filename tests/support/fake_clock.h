#pragma once
#include <cstdint>

#include "platform/clock.h"

namespace orvika2::testing {

// A clock that only moves when slept on or advanced: no test really waits.
class FakeClock final : public Clock {
public:
    std::uint32_t TickMs() override { return tick_; }
    void SleepMs(std::uint32_t milliseconds) override {
        tick_ += milliseconds;
        slept_ += milliseconds;
        ++sleeps_;
    }
    std::int64_t UnixSeconds() override { return unixSeconds_ + (tick_ - tickAtSet_) / 1000; }

    void Advance(std::uint32_t milliseconds) { tick_ += milliseconds; }
    void SetUnixSeconds(std::int64_t seconds) { unixSeconds_ = seconds; tickAtSet_ = tick_; }
    std::uint64_t TotalSleptMs() const { return slept_; }
    int SleepCount() const { return sleeps_; }

private:
    std::uint32_t tick_ = 1000;
    std::int64_t unixSeconds_ = 1'000'000'000;
    std::uint32_t tickAtSet_ = 1000;
    std::uint64_t slept_ = 0;
    int sleeps_ = 0;
};

}  // namespace orvika2::testing
