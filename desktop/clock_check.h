#pragma once
// The clock check's decisions: the update server's Date read into a time,
// how far this computer's clock is off, and what that means for the
// correction the codes use. The Win32 side asks the server and the user.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/update_download.h"
#include "settings/profile_store.h"

namespace orvika2 {

// An IMF-fixdate, "Sun, 06 Nov 1994 08:49:37 GMT", as seconds since the
// epoch; nullopt for any other form or a date that does not exist.
std::optional<std::int64_t> ParseHttpDate(std::wstring_view text);

// Server time minus computer time, in milliseconds, taken at the middle of
// the round trip; nullopt without a readable Date or with a round trip that
// runs backwards.
std::optional<std::int64_t> ClockOffsetMs(const ServerTimeAnswer& answer);

// Within this of the server the clock needs no correction; one this far off
// is worth one.
inline constexpr std::int64_t kClockRightMs = 5'000;
inline constexpr std::int64_t kClockOffMs = 15'000;

enum class ClockVerdict {
    Failed,   // no trustworthy time: nothing changes
    Right,    // close enough, and no correction in use
    Cleared,  // close enough without the correction in use, which was removed
    Holds,    // the correction in use matches the server
    Offer,    // far off: the user is offered `offsetSeconds` as the correction
};

struct ClockCheckOutcome {
    ClockVerdict verdict = ClockVerdict::Failed;
    std::int64_t offsetSeconds = 0;  // server minus computer, rounded
};

// What an offset means, given the correction in use.
ClockCheckOutcome JudgeClockOffset(std::optional<std::int64_t> offsetMs, std::int64_t correction);

struct ClockCheckInputs {
    // One answer of `url`, nullopt when none came over a checked https
    // connection.
    std::function<std::optional<ServerTimeAnswer>(const std::wstring& url)> ask;
    ProfileStore& store;
    std::wstring configFile;
    std::wstring url;  // on the configured update server
};
// Asks only an https server; removes a correction that is no longer needed
// (Cleared becomes Failed when the file cannot be written). An Offer changes
// nothing until AcceptClockOffer.
ClockCheckOutcome CheckClock(const ClockCheckInputs& inputs);
// The user said yes: the offset becomes the correction.
bool AcceptClockOffer(ProfileStore& store, const std::wstring& file, const ClockCheckOutcome& outcome);

}  // namespace orvika2
