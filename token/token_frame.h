#pragma once
#include <array>
#include <cstdint>
#include <span>

#include "platform/clock.h"
#include "platform/hid.h"
#include "token/token_result.h"

namespace orvika2 {

inline constexpr std::size_t kTokenFrameSize = 70;
inline constexpr std::size_t kTokenPayloadSize = 64;
inline constexpr std::size_t kTokenChunkSize = 7;
inline constexpr std::uint8_t kResetSequence = 0x8F;

// Payload 0-63, command 64, token_crc16 of the payload at 65-66 (low byte
// first), 67-69 zero.
using TokenFrame = std::array<std::uint8_t, kTokenFrameSize>;

// Payload longer than 64 bytes is the caller's error (ParameterError).
TokenFrame BuildTokenFrame(std::uint8_t command, std::span<const std::uint8_t> payload);

// Sends chunk 0, the non-zero chunks 1-8 and chunk 9, each after a 2 ms
// pause, getting one report after every chunk but the last.
TokenResult SendTokenFrame(HidDevice& device, Clock& clock, const TokenFrame& frame);

FeatureReport ResetReport();

}  // namespace orvika2
