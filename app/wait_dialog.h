#pragma once
// Wait15SecDialog's decisions: its countdown, the keys it refuses, its
// worker that collects the touched answer, and the reset on closing.
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "app/typing.h"
#include "resources/string_ids.h"
#include "token/token_lib.h"

namespace orvika2 {

inline constexpr std::uint32_t WM_COUNTDOWN_TICK = 0x07E8;
// Sent by the worker: the dialog minimises itself and, when wParam is
// non-zero, hands the focus back on its own thread, the one that owns the
// activation.
inline constexpr std::uint32_t WM_STEP_ASIDE = 0x07E9;
inline constexpr std::uint32_t kCountdownTickMs = 1000;

// Starts at 15 and is not bounded below: a dialog left open counts on into
// negative numbers.
class Countdown {
public:
    int Tick() { return --value_; }
    int Value() const { return value_; }
    std::wstring Text() const { return std::to_wstring(value_); }
    // A screen reader hears the count every five seconds, not every second:
    // the dialog's opening reads the first number.
    bool Announced() const { return value_ >= 0 && value_ < 15 && value_ % 5 == 0; }

private:
    int value_ = 15;
};

inline constexpr std::uint32_t kKeyDown = 0x0100;    // WM_KEYDOWN
inline constexpr std::uintptr_t kEnterKey = 0x0D;   // VK_RETURN
inline constexpr std::uintptr_t kEscapeKey = 0x1B;  // VK_ESCAPE

// A key-down of Enter or Escape never reaches the dialog's key handling, so
// neither key closes it.
bool FilteredKeyDown(std::uint32_t message, std::uintptr_t virtualKey);

// What the worker reaches of the dialog.
class TouchWaitPort {
public:
    virtual ~TouchWaitPort() = default;
    // Minimises the dialog; with `handFocusBack` the window that had the
    // focus when the code was asked for gets it again.
    virtual void StepAside(bool handFocusBack) = 0;
    virtual TypingPort& Typing() = 0;
    virtual void CloseDialog() = 0;
};

// Collects the answer of the challenge still pending in the token, with its
// own token session; on a code steps the dialog aside and types it, only
// into `target`, the window in front before the wait. The focus is handed
// back only while one of our windows is in front: a user who has gone to
// another window meanwhile is not typed into, and is offered the clipboard.
// Closes the dialog on every result unless the dialog itself cancelled the
// wait. Nullopt when no code came. The code has the profile's `digits`.
std::optional<TypingAttempt> WaitForTouchWorker(TokenPorts token, const std::atomic<bool>& cancelled,
                                                TouchWaitPort& dialog, WindowId target,
                                                int digits = kDefaultCodeDigits);

// The dialog's close: a token still waiting for its button receives the
// reset report, so it stops waiting.
void EndTouchWait(TokenPorts token);

}  // namespace orvika2
