#include "app/wait_dialog.h"

#include "token/code_generator.h"

namespace orvika2 {

bool FilteredKeyDown(std::uint32_t message, std::uintptr_t virtualKey) {
    return message == kKeyDown && (virtualKey == kEnterKey || virtualKey == kEscapeKey);
}

std::optional<TypingAttempt> WaitForTouchWorker(TokenPorts token, const std::atomic<bool>& cancelled,
                                                TouchWaitPort& dialog, WindowId target, int digits) {
    const auto code = WaitForTouchedCode(token, cancelled, kTouchWaitLimitMs, digits);
    std::optional<TypingAttempt> attempt;
    if (code && !cancelled.load()) {
        dialog.StepAside(dialog.Typing().OwnWindowInForeground());
        attempt = TypingAttempt{*code, TypeCodeWhenReady(dialog.Typing(), token.clock, *code,
                                                         FocusRule::MustLeaveOwnWindows, target)};
    }
    if (!cancelled.load()) dialog.CloseDialog();
    return attempt;
}

void EndTouchWait(TokenPorts token) {
    CTokenLib session(token);
    session.Open();
    session.CancelPending();
}

}  // namespace orvika2
