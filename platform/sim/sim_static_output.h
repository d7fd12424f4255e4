#pragma once
#include <optional>
#include <string>

#include "platform/sim/sim_token_state.h"

namespace orvika2 {

// What the token types when the button of a static-password profile (1 or
// 2) is pressed: the stored key codes up to the first empty one, Enter as
// "\n". nullopt for a 2-Step Verification or unconfigured profile.
std::optional<std::string> SimPress(const SimTokenState& state, int profile);

}  // namespace orvika2
