#pragma once
// The simulated token's firmware: it answers one feature report at a time,
// exactly as the host sees a real token from outside.
#include <cstdint>

#include "platform/hid.h"
#include "platform/sim/sim_services.h"
#include "platform/sim/sim_token_state.h"

namespace orvika2 {

// Both return false when the transfer fails: an injected fault or a token
// that has vanished. A failed transfer changes nothing but the report count,
// except that a failed get leaves a pending answer stale.
bool SimSendReport(SimTokenState& state, const FeatureReport& report, const SimServices& services);
bool SimGetReport(SimTokenState& state, FeatureReport& report, const SimServices& services);

bool SimIsVanished(const SimTokenState& state);

// The configuration sequence as the status report shows it: 0 while no
// profile is configured.
std::uint8_t SimStatusSequence(const SimTokenState& state);

// A press of the button: releases an answer held back for a touch. False
// when no challenge was waiting.
bool SimTouch(SimTokenState& state, std::int64_t nowMs);

// Applies what time has done to a waiting challenge: an automatic touch, or
// the token giving up after 15 seconds.
void SimSettleTouchWait(SimTokenState& state, std::int64_t nowMs);

// Replaces the injected faults and restarts the report count.
void SimArmFaults(SimTokenState& state, const SimFaults& faults);

}  // namespace orvika2
