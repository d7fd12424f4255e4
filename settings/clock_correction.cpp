#include "settings/clock_correction.h"

#include <algorithm>

namespace orvika2 {

std::optional<std::int64_t> ParseClockCorrection(std::wstring_view text) {
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + (c - L'0');
        if (value > kMaxClockCorrectionSeconds) return std::nullopt;
    }
    return negative ? -value : value;
}

std::int64_t ReadClockCorrection(ProfileStore& store, const std::wstring& file) {
    return ParseClockCorrection(store.Get(file, kClockSection, kClockCorrectionKey)).value_or(0);
}

bool WriteClockCorrection(ProfileStore& store, const std::wstring& file, std::int64_t seconds) {
    if (seconds == 0) return store.Remove(file, kClockSection, kClockCorrectionKey);
    if (seconds > kMaxClockCorrectionSeconds || seconds < -kMaxClockCorrectionSeconds) return false;
    return store.Put(file, kClockSection, kClockCorrectionKey, std::to_wstring(seconds));
}

std::string ClockCorrectionText(std::int64_t seconds) {
    if (seconds == 0) return "none";
    std::string text = seconds > 0 ? "+" : "";
    text += std::to_string(seconds);
    text += " s";
    return text;
}

std::int64_t CorrectedClock::UnixSeconds() {
    // A correction back past 1970 gives the epoch, never a negative time.
    return std::max<std::int64_t>(0, base_.UnixSeconds() + correction_());
}

}  // namespace orvika2
