#pragma once
// Time-based verification codes: the challenge sent to the token and the
// six digits made from its HMAC-SHA1 answer (RFC 4226 truncation, RFC 6238
// 30-second steps from the Unix epoch).
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>


namespace orvika2 {

inline constexpr std::int64_t kTimeStepSeconds = 30;
inline constexpr std::size_t kChallengeSize = 8;
inline constexpr std::size_t kAnswerSize = 20;
inline constexpr std::uint16_t kChallengeTimeoutMs = 120;

using Challenge = std::array<std::uint8_t, kChallengeSize>;
using HmacAnswer = std::array<std::uint8_t, kAnswerSize>;

// floor(unixSeconds / 30), also for times before the epoch.
std::int64_t TimeStep(std::int64_t unixSeconds);

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
    std::uint32_t value = 0;  // 0 to 999999

    // Six decimal digits, left-filled with '0'.
    std::string Text() const;
    friend bool operator==(const VerificationCode&, const VerificationCode&) = default;
};

// Dynamic truncation of the 20-byte HMAC, modulo 1,000,000.
VerificationCode CodeFromAnswer(std::span<const std::uint8_t, kAnswerSize> answer);

}  // namespace orvika2
