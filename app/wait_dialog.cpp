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

TouchWaitResult WaitForTouchWorker(TokenPorts token, const std::atomic<bool>& cancelled, TouchWaitPort& dialog) {
    const auto code = WaitForTouchedCode(token, cancelled);
    TouchWaitResult result = TouchWaitResult::NoCode;
    if (code && !cancelled.load()) {
        dialog.MinimiseDialog();
        switch (TypeCodeWhenReady(dialog.Typing(), token.clock, *code, FocusRule::MustLeaveOwnWindows)) {
        case TypingResult::Typed: result = TouchWaitResult::Typed; break;
        case TypingResult::FocusStayed: result = TouchWaitResult::FocusStayed; break;
        case TypingResult::SendFailed: result = TouchWaitResult::SendFailed; break;
        }
    }
    if (!cancelled.load()) dialog.CloseDialog();
    return result;
}

int TouchWaitMessageId(TouchWaitResult result) {
    return result == TouchWaitResult::FocusStayed ? kMsgGoToInputBox : 0;
}

void EndTouchWait(TokenPorts token) {
    CTokenLib session(token);
    session.Open();
    session.CancelPending();
}

}  // namespace orvika2
