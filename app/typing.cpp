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

std::optional<TypingResult> WaitUntilReadyToType(TypingPort& port, Clock& clock, FocusRule rule) {
    if (rule == FocusRule::MustLeaveOwnWindows &&
        !WaitWhile(clock, kFocusWaitLimitMs, [&] { return port.OwnWindowInForeground(); })) {
        return TypingResult::FocusStayed;
    }
    if (!WaitWhile(clock, kModifierWaitLimitMs, [&] { return port.ModifierKeysDown(); })) {
        return TypingResult::ModifiersHeld;
    }
    return std::nullopt;
}

TypingResult TypeCodeWhenReady(TypingPort& port, Clock& clock, const VerificationCode& code, FocusRule rule,
                               WindowId target) {
    if (const auto stopped = WaitUntilReadyToType(port, clock, rule)) return *stopped;
    if (target != 0 && port.ForegroundWindow() != target) return TypingResult::WrongWindow;
    if (port.ForegroundOutranksUs()) return TypingResult::TargetElevated;
    const auto events = KeysForDigits(code.Text(), port.Method(), port.ForegroundLayout());
    return port.SendKeys(events) ? TypingResult::Typed : TypingResult::SendFailed;
}

bool IntegrityBlocksTyping(std::optional<std::uint32_t> target, std::optional<std::uint32_t> own) {
    return !target || *target > own.value_or(kMediumIntegrity);
}

TypingNotice NoticeForTyping(TypingResult result) {
    switch (result) {
    case TypingResult::Typed: return {};
    case TypingResult::FocusStayed: return {IDS_GO_TO_INPUT_BOX, false};
    case TypingResult::ModifiersHeld: return {IDS_RELEASE_MODIFIERS, false};
    case TypingResult::TargetElevated: return {IDS_TARGET_ELEVATED_COPY_INSTEAD, true};
    case TypingResult::WrongWindow: return {IDS_TARGET_LEFT_COPY_INSTEAD, true};
    case TypingResult::SendFailed: return {IDS_TYPING_FAILED_COPY_INSTEAD, true};
    }
    return {};
}

}  // namespace orvika2
