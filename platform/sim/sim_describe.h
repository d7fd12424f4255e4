#pragma once
#include <cstdint>
#include <string>

#include "platform/sim/sim_token_state.h"

namespace orvika2 {

// A summary for people, one fact per line: serial, firmware, sequence, each
// profile's kind and touch setting, what the token is doing and the armed
// faults. Never a key byte or a password.
std::string DescribeSimToken(const SimTokenState& state, std::int64_t nowMs);

}  // namespace orvika2
