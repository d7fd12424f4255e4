#pragma once
// What a verification-code request decides, as values: the window turns an
// outcome into a message box, typed keys or the wait-for-touch dialog.
#include <atomic>
#include <cstdint>
#include <optional>

#include "resources/string_ids.h"
#include "token/token_lib.h"
#include "token/verification_code.h"

namespace orvika2 {

enum class CodeAction {
    ShowMessage,  // messageId: 32 busy, 105 not inserted, 110 not set, 33 failed
    Nothing,      // the answer timed out, was invalid or the transfer failed
    TypeCode,     // code: type its key events into the focused window
    AwaitTouch,   // profile: the token holds the answer until its button is touched
};

struct CodeOutcome {
    CodeAction action = CodeAction::Nothing;
    int messageId = 0;
    VerificationCode code{};
    int profile = 0;
    // The profile's shape, which the touched answer is read with.
    CodeShape shape{};
};

// Sends the current time step of the profile's period as a challenge to
// profile 1 or 2 and collects the answer, with its own token session.
CodeOutcome GenerateVerificationCode(TokenPorts ports, int profile, CodeShape shape = {});

// Longer than the token's own wait for a touch (about 15 s).
inline constexpr std::uint32_t kTouchWaitLimitMs = 20'000;

// The wait-for-touch worker: with its own token session, collects the answer
// of the challenge still pending in the token for as long as the token waits
// for its button. Nothing when the token gives up, a transfer fails, the
// token disappears, `cancelled` is set or `limitMs` have passed.
std::optional<VerificationCode> WaitForTouchedCode(TokenPorts ports, const std::atomic<bool>& cancelled,
                                                   std::uint32_t limitMs = kTouchWaitLimitMs,
                                                   int digits = kDefaultCodeDigits);

enum class ProfileKind { NotConfigured, StaticPassword, TwoStep };

struct ProbeResult {
    ProfileKind kind = ProfileKind::NotConfigured;
    // False when the kind comes from a passing failure (no open token, busy
    // token, failed or timed-out transfer, garbled answer) rather than from
    // the token's answer; such a result must not overwrite what is known of
    // the profile.
    bool definite = false;
    friend bool operator==(const ProbeResult&, const ProbeResult&) = default;
};

// Asks an open token how profile 1 or 2 is configured: a 4-byte challenge
// answered with an HMAC or a wait for touch means 2-Step Verification, a
// challenge without an answer a static password. `status` is the token's
// status as last read.
ProbeResult ProbeProfileKind(CTokenLib& token, const TokenStatus& status, int profile);

}  // namespace orvika2
