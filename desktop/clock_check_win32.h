#pragma once
// The clock check as the user sees it: the update server asked for its
// time, and the offer of a correction when this computer's clock is off.
#include "desktop/clock_check.h"
#include "settings/app_services.h"

namespace orvika2 {

// Asks the configured update server; a correction no longer needed is
// removed here.
ClockCheckOutcome RunClockCheck(AppServices& services);
// The offer, and its answer stored; the other outcomes are said only when
// the user asked for the check itself.
void TellClockOutcome(AppServices& services, const ClockCheckOutcome& outcome, bool askedByUser);

}  // namespace orvika2
