#pragma once
// The token's factory: programs profiles straight into a token's state, as
// the maker would before shipping, without going through reports.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/sim/sim_token_state.h"

namespace orvika2 {

inline constexpr std::size_t kSimStaticTextMax = 38;

SimProfileRecord FactoryTwoStepRecord(std::span<const std::uint8_t, 20> key, bool requireTouch);
// nullopt for an empty text, one over 38 characters, or a character the
// token cannot type.
std::optional<SimProfileRecord> FactoryStaticRecord(std::string_view text);

// Stores the record in profile 1 or 2 with its checksum, sets the profile's
// flag and advances the sequence, as a configuration write would.
void FactoryInstall(SimTokenState& state, int profile, SimProfileRecord record);

}  // namespace orvika2
