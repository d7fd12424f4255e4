// The simulated token's state file: arbitrary text is accepted or refused
// with a reason, and whatever is accepted is written back so that it reads
// as the same state and the same text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/sim/sim_state_text.h"
#include "platform/sim/sim_token.h"
#include "platform/sim/sim_token_state.h"
#include "tests/fuzz/fuzz_check.h"

using orvika2::fuzzing::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    orvika2::SimTokenState state;
    if (orvika2::ParseSimState(text, state).empty()) {
        const std::string written = orvika2::FormatSimState(state);
        orvika2::SimTokenState reread;
        Require(orvika2::ParseSimState(written, reread).empty(), "a written state reads");
        Require(reread == state, "a written state reads as itself");
        Require(orvika2::FormatSimState(reread) == written, "writing is stable");

        // Every accepted state steps: a get and a touch at the earliest and
        // the latest time a clock gives, where the sanitizers see any
        // overflow of the time arithmetic.
        for (const std::int64_t now : {std::int64_t{0}, orvika2::kSimLatestTimeMs}) {
            orvika2::SimTokenState stepped = state;
            const orvika2::SimServices services{.wallClockMs = [now] { return now; }};
            orvika2::FeatureReport report{};
            orvika2::SimGetReport(stepped, report, services);
            orvika2::SimTouch(stepped, now);
        }
    }

    // The command line's forms of serial and firmware.
    if (const auto serial = orvika2::ParseSimSerial(text)) {
        Require(orvika2::ParseSimSerial(orvika2::FormatSimSerial(*serial)) == serial, "serial round trip");
    }
    if (const auto firmware = orvika2::ParseSimFirmware(text)) {
        Require(orvika2::ParseSimFirmware(orvika2::FormatSimFirmware(*firmware)) == firmware, "firmware round trip");
    }
    return 0;
}
