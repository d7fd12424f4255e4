// The answer collector fed arbitrary report streams: it ends in one of its
// results after a bounded number of reads, and fills the caller's buffer
// only on success.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/hid.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/fake_clock.h"
#include "token/response_collector.h"
#include "token/token_result.h"

using orvika2::FeatureReport;
using orvika2::TokenResult;
using orvika2::fuzzing::Require;

namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::uint8_t kUntouched = 0xA5;

// Answers gets with the fuzz bytes, 9 at a time; a looping stream starts
// over at its end, so only the collector's own limits can stop it.
class ReplayHid final : public orvika2::HidDevice {
public:
    ReplayHid(std::span<const std::uint8_t> stream, bool loops, bool sendsFail)
        : stream_(stream), loops_(loops), sendsFail_(sendsFail) {}

    bool SendFeature(const FeatureReport&) override {
        ++sends_;
        return !sendsFail_;
    }
    bool GetFeature(FeatureReport& report) override {
        ++gets_;
        const std::size_t reports = stream_.size() / report.size();
        if (reports == 0 || (!loops_ && next_ == reports)) return false;
        std::ranges::copy(stream_.subspan((next_ % reports) * report.size(), report.size()), report.begin());
        ++next_;
        return true;
    }
    std::size_t Gets() const { return gets_; }
    std::size_t Sends() const { return sends_; }

private:
    std::span<const std::uint8_t> stream_;
    bool loops_;
    bool sendsFail_;
    std::size_t next_ = 0;
    std::size_t gets_ = 0;
    std::size_t sends_ = 0;
};

bool IsCollectorResult(TokenResult result) {
    switch (result) {
        case TokenResult::Success:
        case TokenResult::OperationFailed:
        case TokenResult::WriteFailed:
        case TokenResult::InvalidResponse:
        case TokenResult::Processing:
        case TokenResult::WaitingForTouch:
            return true;
        default:
            return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderSize) return 0;
    // Lengths up to 59 include refused ones beyond the 54 an answer can hold.
    const std::size_t length = data[0] % 60;
    const std::uint8_t lastCommand = data[1];
    const std::uint8_t configSequence = data[2];
    const auto timeoutMs = static_cast<std::uint16_t>(data[3] | (data[4] << 8));
    const bool loops = data[5] & 1;
    ReplayHid device(std::span(data + kHeaderSize, size - kHeaderSize), loops, data[5] & 2);
    orvika2::testing::FakeClock clock;

    std::vector<std::uint8_t> destination(length, kUntouched);
    orvika2::ResponseCollector collector;
    const TokenResult result = collector.Collect(device, clock, timeoutMs, destination, lastCommand, configSequence);

    Require(IsCollectorResult(result) || (result == TokenResult::ParameterError && length > 54),
            "one of the collector's results");
    Require((result == TokenResult::ParameterError) == (length > orvika2::ResponseCollector::kMaxAnswerLength),
            "only an over-long answer is refused");
    Require(result != TokenResult::WriteFailed || lastCommand == 0x01 || lastCommand == 0x03,
            "only a configuration write fails as a write");
    Require(result != TokenResult::Processing || clock.TotalSleptMs() >= timeoutMs,
            "still processing only once the time is up");
    if (result != TokenResult::Success) {
        Require(std::ranges::all_of(destination, [](std::uint8_t b) { return b == kUntouched; }),
                "the buffer is written only on success");
    }
    // Busy polls every 10 ms until the deadline, then at most 14 chunks and
    // the report after them.
    const std::size_t busyPolls = timeoutMs / 10 + 2;
    Require(device.Gets() <= busyPolls + orvika2::ResponseCollector::kMaxChunks + 1, "reads are bounded");
    Require(device.Sends() <= 1, "at most the reset is sent");
    Require(clock.TotalSleptMs() <= timeoutMs + 10u, "no waiting past the deadline");
    return 0;
}
