#pragma once
// How the token reads the fields of a stored profile record.
#include <array>
#include <cstdint>
#include <span>

#include "platform/sim/sim_token_state.h"

namespace orvika2 {

namespace sim_record {
inline constexpr std::size_t kOutputLength = 44;
inline constexpr std::size_t kExtendedFlags = 45;
inline constexpr std::size_t kOutputFlags = 46;
inline constexpr std::size_t kConfigFlags = 47;
inline constexpr std::size_t kChecksum = 50;

inline constexpr std::uint8_t kChallengeResponse = 0x40;  // output flags
inline constexpr std::uint8_t kHmacChallenge = 0x22;      // config flags
inline constexpr std::uint8_t kShortChallenge = 0x04;
inline constexpr std::uint8_t kRequireTouch = 0x08;
inline constexpr std::uint8_t kStaticOutput = 0x02;
}  // namespace sim_record

bool IsTwoStepRecord(const SimProfileRecord& record);
bool RequiresTouch(const SimProfileRecord& record);
// Secret bytes 0-15 sit in record bytes 22-37, bytes 16-19 in 16-19.
std::array<std::uint8_t, 20> TwoStepKeyOf(const SimProfileRecord& record);
// The record's checksum bytes made to fit bytes 0-49, as a programmer does.
void SealRecord(SimProfileRecord& record);
bool RecordChecksumHolds(std::span<const std::uint8_t, kSimRecordSize> bytes);

}  // namespace orvika2
