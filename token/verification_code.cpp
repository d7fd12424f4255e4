#include "token/verification_code.h"

#include <algorithm>

namespace orvika2 {

bool DigitsInRange(int digits) { return digits >= kMinCodeDigits && digits <= kMaxCodeDigits; }
bool PeriodInRange(int seconds) { return seconds >= kMinPeriodSeconds && seconds <= kMaxPeriodSeconds; }

std::int64_t TimeStep(std::int64_t unixSeconds, std::int64_t periodSeconds) {
    std::int64_t step = unixSeconds / periodSeconds;
    if (unixSeconds % periodSeconds != 0 && unixSeconds < 0) {
        --step;
    }
    return step;
}

Challenge MakeChallenge(std::int64_t timeStep) {
    const auto low = static_cast<std::uint32_t>(timeStep);
    return {0, 0, 0, 0, static_cast<std::uint8_t>(low >> 24), static_cast<std::uint8_t>(low >> 16),
            static_cast<std::uint8_t>(low >> 8), static_cast<std::uint8_t>(low)};
}

std::uint8_t ChallengeCommand(int profile) { return profile == 2 ? 0x38 : 0x30; }

ChallengePayload PadChallenge(const Challenge& challenge) {
    ChallengePayload payload;
    std::ranges::copy(challenge, payload.bytes.begin());
    if (challenge.back() == 0x00) {
        std::fill(payload.bytes.begin() + kChallengeSize, payload.bytes.end(), std::uint8_t{0x01});
        payload.length = payload.bytes.size();
    } else {
        payload.length = kChallengeSize;
    }
    return payload;
}

std::string VerificationCode::Text() const {
    std::string text(static_cast<std::size_t>(digits), '0');
    std::uint32_t rest = value;
    for (auto digit = text.rbegin(); digit != text.rend() && rest != 0; ++digit, rest /= 10) {
        *digit = static_cast<char>('0' + rest % 10);
    }
    return text;
}

VerificationCode CodeFromAnswer(std::span<const std::uint8_t, kAnswerSize> answer, int digits) {
    const std::size_t offset = answer[19] & 0x0F;
    const std::uint32_t value = (static_cast<std::uint32_t>(answer[offset] & 0x7F) << 24) |
                                (static_cast<std::uint32_t>(answer[offset + 1]) << 16) |
                                (static_cast<std::uint32_t>(answer[offset + 2]) << 8) |
                                static_cast<std::uint32_t>(answer[offset + 3]);
    std::uint32_t modulus = 1;
    for (int i = 0; i < digits; ++i) modulus *= 10;
    return VerificationCode{value % modulus, digits};
}

}  // namespace orvika2
