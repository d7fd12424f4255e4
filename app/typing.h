#pragma once
// Typing a code into the window that has the focus, once that window is not
// one of ours and the hotkey's modifiers are up: keys typed into our own
// window are lost, and with Ctrl still held the target gets Ctrl+digits.
#include <cstdint>
#include <optional>
#include <span>

#include "platform/clock.h"
#include "platform/key_output.h"
#include "platform/key_sequence.h"
#include "resources/string_ids.h"
#include "token/verification_code.h"

namespace orvika2 {

// A top-level window by its handle's value; 0 is none.
using WindowId = std::uintptr_t;

class TypingPort {
public:
    virtual ~TypingPort() = default;
    // The foreground window belongs to this process.
    virtual bool OwnWindowInForeground() = 0;
    // Ctrl, Alt, Shift or a Windows key is held.
    virtual bool ModifierKeysDown() = 0;
    // Windows drops keys injected into a process of a higher integrity level
    // without an error, so such a target is found out before typing.
    virtual bool ForegroundOutranksUs() = 0;
    // The top-level window in front, 0 when there is none.
    virtual WindowId ForegroundWindow() = 0;
    // The typing method the user chose, read when the keys go.
    virtual TypingMethod Method() = 0;
    // The keyboard layout of the window in front.
    virtual KeyboardLayout& ForegroundLayout() = 0;
    // One platform call for the whole batch; false when fewer were taken.
    virtual bool SendKeys(std::span<const KeyEvent> events) = 0;
};

enum class FocusRule { MustLeaveOwnWindows, Anywhere };
enum class TypingResult { Typed, FocusStayed, ModifiersHeld, TargetElevated, WrongWindow, SendFailed };

struct TypingAttempt {
    VerificationCode code;
    TypingResult result = TypingResult::Typed;
};

inline constexpr std::uint32_t kFocusWaitLimitMs = 3000;
inline constexpr std::uint32_t kModifierWaitLimitMs = 1000;
inline constexpr std::uint32_t kTypingPollMs = 20;

// Waits, each wait bounded, for the focus (under MustLeaveOwnWindows) and
// then for the modifiers: what stops the typing, nullopt once both are done.
std::optional<TypingResult> WaitUntilReadyToType(TypingPort& port, Clock& clock, FocusRule rule);

// Waits as WaitUntilReadyToType does, then types; nothing when a wait
// outlasts its limit, the target would drop the keys, or `target` (when
// not 0) is no longer the window in front: a code typed elsewhere lands in
// a chat or a search box.
TypingResult TypeCodeWhenReady(TypingPort& port, Clock& clock, const VerificationCode& code, FocusRule rule,
                               WindowId target);

// Mandatory-label levels of Windows process tokens.
inline constexpr std::uint32_t kMediumIntegrity = 0x2000;

// Whether keys sent from a process at `own` level are dropped by the target:
// a target whose level could not be read counts as higher, and a level of
// our own that could not be read as the usual medium.
bool IntegrityBlocksTyping(std::optional<std::uint32_t> target, std::optional<std::uint32_t> own);

// What the user is told after an attempt: nothing (id 0), a message, or a
// Yes/No question whether to put the code on the clipboard instead.
struct TypingNotice {
    int messageId = 0;
    bool offerClipboard = false;
    friend bool operator==(const TypingNotice&, const TypingNotice&) = default;
};
TypingNotice NoticeForTyping(TypingResult result);

// A code put on the clipboard is taken off again after this long, unless
// something else has replaced it meanwhile.
inline constexpr std::uint32_t kClipboardHoldMs = 30000;

}  // namespace orvika2
