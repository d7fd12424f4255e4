#include "app/typing.h"

namespace orvika2 {
namespace {

// True when `condition` became false within the limit.
template <typename Condition>
bool WaitWhile(Clock& clock, std::uint32_t limitMs, Condition condition) {
    const std::uint32_t start = clock.TickMs();
    while (condition()) {
        if (clock.TickMs() - start >= limitMs) return false;
        clock.SleepMs(kTypingPollMs);
    }
    return true;
}

}  // namespace

TypingResult TypeCodeWhenReady(TypingPort& port, Clock& clock, const VerificationCode& code, FocusRule rule) {
    if (rule == FocusRule::MustLeaveOwnWindows &&
        !WaitWhile(clock, kFocusWaitLimitMs, [&] { return port.OwnWindowInForeground(); })) {
        return TypingResult::FocusStayed;
    }
    WaitWhile(clock, kModifierWaitLimitMs, [&] { return port.ModifierKeysDown(); });
    const auto events = code.KeyEvents();
    return port.SendKeys(events) ? TypingResult::Typed : TypingResult::SendFailed;
}

}  // namespace orvika2
