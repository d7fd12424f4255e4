#pragma once
// Typing a code into the window that has the focus, once that window is not
// one of ours and the hotkey's modifiers are up: keys typed into our own
// window are lost, and with Ctrl still held the target gets Ctrl+digits.
#include <cstdint>
#include <span>

#include "platform/clock.h"
#include "platform/key_output.h"
#include "token/verification_code.h"

namespace orvika2 {

class TypingPort {
public:
    virtual ~TypingPort() = default;
    // The foreground window belongs to this process.
    virtual bool OwnWindowInForeground() = 0;
    // Ctrl, Alt, Shift or a Windows key is held.
    virtual bool ModifierKeysDown() = 0;
    // One platform call for the whole batch; false when fewer were taken.
    virtual bool SendKeys(std::span<const KeyEvent> events) = 0;
};

enum class FocusRule { MustLeaveOwnWindows, Anywhere };
enum class TypingResult { Typed, FocusStayed, SendFailed };

inline constexpr std::uint32_t kFocusWaitLimitMs = 3000;
inline constexpr std::uint32_t kModifierWaitLimitMs = 1000;
inline constexpr std::uint32_t kTypingPollMs = 20;

// Waits, each wait bounded, for the focus (under MustLeaveOwnWindows) and
// then for the modifiers; keys still held after their limit do not stop the
// typing, a focus still ours does.
TypingResult TypeCodeWhenReady(TypingPort& port, Clock& clock, const VerificationCode& code, FocusRule rule);

// String 30 tells the user to go to the code's input box first.
inline constexpr int kMsgGoToInputBox = 30;

}  // namespace orvika2
