#pragma once
// The correction the user accepted for a computer clock that is off: kept in
// the configuration file and added to the wall time every code is made of.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "settings/profile_store.h"

namespace orvika2 {

inline constexpr std::wstring_view kClockSection = L"Clock";
inline constexpr std::wstring_view kClockCorrectionKey = L"CorrectionSeconds";
// About 68 years either way: more than any clock that still runs is off.
inline constexpr std::int64_t kMaxClockCorrectionSeconds = 2'147'483'647;

// A whole signed decimal within the limit, blanks around it allowed; nullopt
// for anything else.
std::optional<std::int64_t> ParseClockCorrection(std::wstring_view text);
// 0 when the key is absent, 0 or not a number within the limit: a garbled
// value never shifts the codes.
std::int64_t ReadClockCorrection(ProfileStore& store, const std::wstring& file);
// 0 removes the key. False, the file as it was, when it could not be written
// or the value is past the limit.
bool WriteClockCorrection(ProfileStore& store, const std::wstring& file, std::int64_t seconds);
// "+90 s", "-45 s" or "none".
std::string ClockCorrectionText(std::int64_t seconds);

// The wall time with the correction added, read afresh at every reading so
// a change by the tool or the settings holds at once; ticks and sleeps are
// the base clock's.
class CorrectedClock final : public Clock {
public:
    CorrectedClock(Clock& base, std::function<std::int64_t()> correction)
        : base_(base), correction_(std::move(correction)) {}
    std::uint32_t TickMs() override { return base_.TickMs(); }
    void SleepMs(std::uint32_t milliseconds) override { base_.SleepMs(milliseconds); }
    std::int64_t UnixSeconds() override;

private:
    Clock& base_;
    std::function<std::int64_t()> correction_;
};

}  // namespace orvika2
