#include "token/code_generator.h"

#include <array>

namespace orvika2 {
namespace {

CodeOutcome Show(int messageId) { return CodeOutcome{CodeAction::ShowMessage, messageId}; }

bool AnswersChallenges(const TokenStatus& status, int profile) {
    return status.FirmwareAtLeast(2, 1) && status.ProfileConfigured(profile);
}

}  // namespace

CodeOutcome GenerateVerificationCode(TokenPorts ports, int profile, CodeShape shape) {
    CTokenLib token(ports);
    token.Open();
    TokenStatus status;
    if (token.ReadStatusClearingStaleAnswer(status) == TokenResult::NotReady) {
        return Show(IDS_TOKEN_BUSY);
    }
    if (token.ReadStatus(status) != TokenResult::Success) {
        return Show(IDS_NOT_INSERTED);
    }
    if (!AnswersChallenges(status, profile)) {
        return Show(IDS_PROFILE_NOT_SET);
    }
    token.Open();
    WaitForIdleToken(token, status);
    // The time step of the moment the challenge goes, after every wait: a
    // step taken before could be one that has just ended.
    const ChallengePayload payload = PadChallenge(MakeChallenge(TimeStep(ports.clock.UnixSeconds(), shape.periodSeconds)));
    if (token.WriteFrame(ChallengeCommand(profile), payload.view()) != TokenResult::Success) {
        return Show(IDS_CODE_FAILED);
    }
    HmacAnswer answer{};
    switch (token.ReadResponse(kChallengeTimeoutMs, answer)) {
    case TokenResult::Success:
        return CodeOutcome{CodeAction::TypeCode, 0, CodeFromAnswer(answer, shape.digits), profile, shape};
    case TokenResult::WaitingForTouch:
        return CodeOutcome{CodeAction::AwaitTouch, 0, {}, profile, shape};
    default:
        return CodeOutcome{CodeAction::Nothing};
    }
}

std::optional<VerificationCode> WaitForTouchedCode(TokenPorts ports, const std::atomic<bool>& cancelled,
                                                   std::uint32_t limitMs, int digits) {
    CTokenLib token(ports);
    token.Open();
    const std::uint32_t start = ports.clock.TickMs();
    HmacAnswer answer{};
    for (;;) {
        if (cancelled.load() || ports.clock.TickMs() - start >= limitMs) {
            return std::nullopt;
        }
        const TokenResult result = token.ReadResponse(kChallengeTimeoutMs, answer);
        if (result == TokenResult::Success) {
            return CodeFromAnswer(answer, digits);
        }
        if (result != TokenResult::WaitingForTouch) {
            return std::nullopt;
        }
    }
}

ProbeResult ProbeProfileKind(CTokenLib& token, const TokenStatus& status, int profile) {
    if (!token.IsOpen()) {
        return {ProfileKind::NotConfigured, false};
    }
    if (!AnswersChallenges(status, profile)) {
        return {ProfileKind::NotConfigured, true};
    }
    constexpr std::array<std::uint8_t, 4> kProbe{};
    switch (token.WriteFrame(ChallengeCommand(profile), kProbe)) {
    case TokenResult::Success:
        break;
    case TokenResult::Unsupported:
        return {ProfileKind::NotConfigured, true};
    default:
        return {ProfileKind::NotConfigured, false};
    }
    HmacAnswer answer{};
    switch (token.ReadResponse(kChallengeTimeoutMs, answer)) {
    case TokenResult::Success:
    case TokenResult::WaitingForTouch:
        return {ProfileKind::TwoStep, true};
    case TokenResult::OperationFailed:
    case TokenResult::Processing:
        return {ProfileKind::StaticPassword, false};
    case TokenResult::InvalidResponse:
        // A static password answers with no data at all; chunks that fail
        // their checks are a garbled HMAC, not a kind.
        return {ProfileKind::StaticPassword, token.LastAnswerChunks() == 0};
    default:
        return {ProfileKind::StaticPassword, true};
    }
}

}  // namespace orvika2
