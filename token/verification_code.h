#pragma once
// Time-based verification codes: the challenge sent to the token and the
// digits made from its HMAC-SHA1 answer (RFC 4226 truncation, RFC 6238 time
// steps from the Unix epoch). The token computes only the HMAC, so the
// number of digits and the length of a step are ours to choose per profile.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>


namespace orvika2 {

inline constexpr std::int64_t kTimeStepSeconds = 30;
inline constexpr int kDefaultCodeDigits = 6;
inline constexpr int kMinCodeDigits = 6;
inline constexpr int kMaxCodeDigits = 8;
inline constexpr int kMinPeriodSeconds = 10;
inline constexpr int kMaxPeriodSeconds = 120;

// How a profile's codes are made: their digits and the seconds of a step.
struct CodeShape {
    int digits = kDefaultCodeDigits;
    int periodSeconds = static_cast<int>(kTimeStepSeconds);
    bool IsDefault() const { return *this == CodeShape{}; }
    friend bool operator==(const CodeShape&, const CodeShape&) = default;
};
bool DigitsInRange(int digits);
bool PeriodInRange(int seconds);
inline constexpr std::size_t kChallengeSize = 8;
inline constexpr std::size_t kAnswerSize = 20;
inline constexpr std::uint16_t kChallengeTimeoutMs = 120;

using Challenge = std::array<std::uint8_t, kChallengeSize>;
using HmacAnswer = std::array<std::uint8_t, kAnswerSize>;

// floor(unixSeconds / period), also for times before the epoch.
std::int64_t TimeStep(std::int64_t unixSeconds, std::int64_t periodSeconds = kTimeStepSeconds);

// Bytes 0-3 zero, bytes 4-7 the low 32 bits of the step, big-endian.
Challenge MakeChallenge(std::int64_t timeStep);

// HMAC challenge command of profile 1 or 2.
std::uint8_t ChallengeCommand(int profile);

// The frame payload that carries a challenge. The token finds a challenge's
// end by stripping the payload's trailing run of bytes equal to its last
// byte. A challenge ending in a non-zero byte goes as its 8 bytes with the
// frame's zero fill. One ending in 0x00 would lose that byte (and any zeros
// before it), so it goes as a full 64-byte payload padded with 0x01: the
// stripped run is then exactly the padding. On the wire that makes chunks
// 1-8 non-zero, so all ten chunks are sent (ten sends, nine gets) instead of
// chunks 0 and 9 only.
struct ChallengePayload {
    std::array<std::uint8_t, 64> bytes{};
    std::size_t length = 0;  // 8, or 64 when padded
    std::span<const std::uint8_t> view() const { return std::span(bytes).first(length); }
};
ChallengePayload PadChallenge(const Challenge& challenge);

struct VerificationCode {
    std::uint32_t value = 0;  // below 10^digits
    int digits = kDefaultCodeDigits;

    // `digits` decimal digits, left-filled with '0'.
    std::string Text() const;
    friend bool operator==(const VerificationCode&, const VerificationCode&) = default;
};

// Dynamic truncation of the 20-byte HMAC, modulo 10^digits.
VerificationCode CodeFromAnswer(std::span<const std::uint8_t, kAnswerSize> answer, int digits = kDefaultCodeDigits);

}  // namespace orvika2
