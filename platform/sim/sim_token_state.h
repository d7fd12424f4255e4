#pragma once
// Everything the simulated token remembers, between reports and between
// processes: what its firmware would keep in flash and in RAM.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/secure_memory.h"

namespace orvika2 {

inline constexpr std::size_t kSimRecordSize = 52;
inline constexpr std::size_t kSimFrameSize = 70;
// The token gives up waiting for its button after this long.
inline constexpr std::int64_t kSimTouchTimeoutMs = 15'000;
// However few gets ask, the token is done with a command after this long.
inline constexpr std::int64_t kSimBusyAtMostMs = 500;
// The latest time stamp a state file may hold (the end of the year 9999):
// with the clock's own milliseconds, any difference of two fits.
inline constexpr std::int64_t kSimLatestTimeMs = 253'402'300'799'999;

// A stored profile record; it holds key material, so it wipes itself.
struct SimProfileRecord {
    std::array<std::uint8_t, kSimRecordSize> bytes{};

    SimProfileRecord() = default;
    SimProfileRecord(const SimProfileRecord&) = default;
    SimProfileRecord& operator=(const SimProfileRecord&) = default;
    ~SimProfileRecord() { SecureWipe(bytes.data(), bytes.size()); }
    friend bool operator==(const SimProfileRecord&, const SimProfileRecord&) = default;
};

// Faults injected for tests. Report numbers count every send and get since
// the faults were last armed, starting at 1.
struct SimFaults {
    std::optional<std::uint32_t> failSendAtReport;
    std::optional<std::uint32_t> failGetAtReport;
    // Once this many reports have passed, every transfer fails and the bus
    // lists no device.
    std::optional<std::uint32_t> vanishAfterReports;
    bool stuckBusy = false;
    bool badAnswerChecksum = false;
    // From this report on, every get finds the token busy.
    std::optional<std::uint32_t> stuckBusyFromReport;
    friend bool operator==(const SimFaults&, const SimFaults&) = default;
};

// The command in flight: from the first chunk of a frame to the last report
// of its answer.
struct SimExchange {
    std::array<std::uint8_t, kSimFrameSize> frame{};  // chunks received so far
    std::uint32_t busyGetsLeft = 0;
    std::int64_t busySinceMs = 0;
    std::vector<std::uint8_t> answer;  // data and checksum; empty when none
    // Counts the answer's chunks, then one more for the idle report that
    // closes it; only that report drops the answer.
    std::uint8_t nextAnswerChunk = 0;
    // A get of the answer failed: the token has lost its place and shows the
    // first chunk on every get until a reset report drops the answer.
    bool answerStale = false;
    // Set while the answer is held back until the button is touched.
    std::optional<std::int64_t> touchWaitSinceMs;
    friend bool operator==(const SimExchange&, const SimExchange&) = default;
};

struct SimTokenState {
    std::array<std::uint8_t, 4> serial{};
    std::array<std::uint8_t, 3> firmware{2, 2, 3};
    std::uint8_t sequence = 0;
    std::array<std::optional<SimProfileRecord>, 2> profiles;
    // Without a delay, a waiting challenge is only released by an explicit touch.
    std::optional<std::uint32_t> autoTouchMs;
    // Status gets answered with the busy flag after every command.
    std::uint32_t busyGets = 1;
    SimExchange exchange;
    SimFaults faults;
    std::uint32_t reportsSinceArmed = 0;
    friend bool operator==(const SimTokenState&, const SimTokenState&) = default;
};

// Profile 1 or 2 to its index in `SimTokenState::profiles`.
inline std::size_t SimSlotOf(int profile) { return profile == 2 ? 1 : 0; }

}  // namespace orvika2
