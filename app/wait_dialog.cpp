#include "app/wait_dialog.h"

#include "token/code_generator.h"

namespace orvika2 {
namespace {

constexpr std::uint32_t kKeyDown = 0x0100;
constexpr std::uintptr_t kEnter = 0x0D;
constexpr std::uintptr_t kEscape = 0x1B;

}  // namespace

bool FilteredKeyDown(std::uint32_t message, std::uintptr_t virtualKey) {
    return message == kKeyDown && (virtualKey == kEnter || virtualKey == kEscape);
}

std::optional<TypingAttempt> WaitForTouchWorker(TokenPorts token, const std::atomic<bool>& cancelled,
                                                TouchWaitPort& dialog) {
    const auto code = WaitForTouchedCode(token, cancelled);
    std::optional<TypingAttempt> attempt;
    if (code && !cancelled.load()) {
        dialog.StepAside(dialog.Typing().OwnWindowInForeground());
        attempt = TypingAttempt{*code, TypeCodeWhenReady(dialog.Typing(), token.clock, *code,
                                                         FocusRule::MustLeaveOwnWindows)};
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
