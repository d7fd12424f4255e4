#include "app/code_button.h"

#include "resources/resource.h"

namespace orvika2 {
namespace {

constexpr unsigned kActive = 8;

void ShowString(CodeButtonPort& port, const StringSource& strings, int id) {
    port.ShowMessageBox(strings(id), kCodeMessageFlags);
}

void Generate(CodeButtonPort& port, TokenPorts token, const StringSource& strings, int profile, CodeShape shape,
              WindowId requesting) {
    // The focus and the hotkey's modifiers are waited for before the token
    // is asked, so the code typed is of the time step it is typed in.
    if (const auto stopped = WaitUntilReadyToType(port.Typing(), token.clock, FocusRule::MustLeaveOwnWindows)) {
        ReportTyping(port, strings, {VerificationCode{}, *stopped});
        return;
    }
    // A click asks for the window that comes in front when ours hides.
    const WindowId target = requesting ? requesting : port.Typing().ForegroundWindow();
    const CodeOutcome outcome = GenerateVerificationCode(token, profile, shape);
    switch (outcome.action) {
    case CodeAction::ShowMessage:
        ShowString(port, strings, outcome.messageId);
        return;
    case CodeAction::TypeCode:
        ReportTyping(port, strings,
                     {outcome.code, TypeCodeWhenReady(port.Typing(), token.clock, outcome.code,
                                                      FocusRule::MustLeaveOwnWindows, target)});
        return;
    case CodeAction::AwaitTouch:
        port.ShowWindowNormally();
        if (const auto attempt = port.RunTouchWait(profile, outcome.shape.digits, target)) {
            ReportTyping(port, strings, *attempt);
        }
        return;
    case CodeAction::Nothing:
        return;
    }
}

}  // namespace

int ActiveProfile(CodeButtonPort& port) {
    if (port.MenuItemState(ID_PROFILE_1) == kActive) return 1;
    if (port.MenuItemState(ID_PROFILE_2) == kActive) return 2;
    return 0;
}

void ReportTyping(CodeButtonPort& port, const StringSource& strings, const TypingAttempt& attempt) {
    const TypingNotice notice = NoticeForTyping(attempt.result);
    if (!notice.messageId) return;
    if (!notice.offerClipboard) {
        ShowString(port, strings, notice.messageId);
    } else if (port.AskYesNo(strings(notice.messageId), kClipboardOfferFlags) &&
               !port.CopyCodeToClipboard(attempt.code)) {
        ShowString(port, strings, IDS_COPY_FAILED);
    }
}

void RunCodeButton(CodeButtonPort& port, TokenPorts token, const StringSource& strings, const CodeShapeSource& shapes) {
    if (port.BringTouchWaitForward() || port.OtpWindowExists()) return;
    const WindowId requesting = port.RequestingWindow();
    port.HideWindow();
    if (const int profile = ActiveProfile(port)) {
        Generate(port, token, strings, profile, shapes(profile), requesting);
    } else {
        ShowString(port, strings, IDS_PROFILE_NOT_SET);
    }
    port.ShowWindowWithoutActivation();
}

}  // namespace orvika2
