#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <numeric>
#include <vector>

#include "tests/support/fake_clock.h"
#include "tests/support/fake_hid.h"
#include "token/response_collector.h"

namespace orvika2 {
namespace {

using testing::AnswerChunks;
using testing::FlagsReport;

constexpr FeatureReport kIdle{};

std::vector<std::uint8_t> Sample(std::size_t length) {
    std::vector<std::uint8_t> data(length);
    std::iota(data.begin(), data.end(), std::uint8_t{0xA0});
    return data;
}

struct Collector : ::testing::Test {
    testing::FakeClock clock;
    testing::FakeHidBus bus;
    std::shared_ptr<testing::FakeHidDevice> device = bus.AddToken();
    std::unique_ptr<HidDevice> handle = bus.Open(L"\\\\?\\hid#token");

    void Queue(const std::vector<FeatureReport>& reports) {
        device->answers.insert(device->answers.end(), reports.begin(), reports.end());
    }
    TokenResult Collect(std::span<std::uint8_t> destination, std::uint8_t lastCommand = 0x30,
                        std::uint8_t expectedSequence = 0, std::uint16_t timeoutMs = 120) {
        ResponseCollector collector;
        return collector.Collect(*handle, clock, timeoutMs, destination, lastCommand, expectedSequence);
    }
};

TEST_F(Collector, AcceptsExactlyTheChunksTheLengthNeeds) {
    struct Case {
        std::size_t length;
        std::vector<int> chunks;  // indices of the answer's chunks to deliver, in order
        TokenResult expected;
    };
    const Case cases[] = {
        {20, {0, 1, 2, 3}, TokenResult::Success},
        {20, {3, 1, 0, 2}, TokenResult::Success},
        {20, {0, 1, 3}, TokenResult::InvalidResponse},        // gap
        {20, {0, 1, 2, 3, 4}, TokenResult::InvalidResponse},  // extra chunk (mask 0x1F)
        {4, {0}, TokenResult::Success},
        {5, {0}, TokenResult::Success},
        {6, {0}, TokenResult::InvalidResponse},  // 6 bytes + checksum need chunk 1 too
        {6, {0, 1}, TokenResult::Success},
        {54, {0, 1, 2, 3, 4, 5, 6, 7}, TokenResult::Success},
    };
    for (const Case& c : cases) {
        device->answers.clear();
        const auto data = Sample(c.length);
        auto chunks = AnswerChunks(data);
        chunks.push_back(FlagsReport(0x44));  // chunk 4 of nothing, for the extra-chunk case
        for (int index : c.chunks) {
            device->answers.push_back(chunks[index]);
        }
        device->answers.push_back(kIdle);
        std::vector<std::uint8_t> destination(c.length, 0xEE);
        EXPECT_EQ(Collect(destination), c.expected) << "length " << c.length << ", " << c.chunks.size() << " chunks";
        EXPECT_EQ(destination == data, c.expected == TokenResult::Success);
    }
}

TEST_F(Collector, RejectsAWrongChecksumAndLeavesTheDestination) {
    auto chunks = AnswerChunks(Sample(20));
    chunks[2][7] ^= 0x01;  // answer byte 20: the checksum's low byte
    Queue(chunks);
    std::array<std::uint8_t, 20> destination{};
    EXPECT_EQ(Collect(destination), TokenResult::InvalidResponse);
    EXPECT_EQ(destination, (std::array<std::uint8_t, 20>{}));
}

TEST_F(Collector, LaterChunkWithTheSameIndexOverwritesTheSlot) {
    const auto data = Sample(20);
    auto chunks = AnswerChunks(data);
    FeatureReport stale = chunks[1];
    stale[3] ^= 0xFF;
    Queue({chunks[0], stale, chunks[1], chunks[2], chunks[3], kIdle});
    std::array<std::uint8_t, 20> destination{};
    EXPECT_EQ(Collect(destination), TokenResult::Success);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), destination.begin()));
}

TEST_F(Collector, FourteenChunksAreReadAndTheFifteenthResetsTheToken) {
    const auto data = Sample(4);
    const FeatureReport chunk = AnswerChunks(data)[0];
    std::array<std::uint8_t, 4> destination{};

    Queue(std::vector<FeatureReport>(14, chunk));
    EXPECT_EQ(Collect(destination), TokenResult::Success);
    EXPECT_TRUE(device->Sent().empty());

    device->answers.clear();
    Queue(std::vector<FeatureReport>(15, chunk));
    EXPECT_EQ(Collect(destination), TokenResult::InvalidResponse);
    ASSERT_EQ(device->Sent().size(), 1u);
    EXPECT_EQ(device->Sent()[0][8], 0x8F);
    EXPECT_EQ(device->GetCount(), (14u + 1u) + 15u);  // first answer ended by an idle report

    device->answers.clear();
    Queue(std::vector<FeatureReport>(15, chunk));
    device->failSendAt = device->SendAttempts();
    EXPECT_EQ(Collect(destination), TokenResult::OperationFailed);
}

TEST_F(Collector, FirstReportDecidesWithoutWaiting) {
    struct Case {
        FeatureReport first;
        std::size_t length;
        std::uint8_t lastCommand;
        TokenResult expected;
    };
    FeatureReport sequence5{};
    sequence5[5] = 5;
    const Case cases[] = {
        {FlagsReport(0x20), 20, 0x30, TokenResult::WaitingForTouch},
        {FlagsReport(0x01), 20, 0x30, TokenResult::OperationFailed},
        {kIdle, 20, 0x30, TokenResult::InvalidResponse},
        {sequence5, 0, 0x01, TokenResult::Success},
        {sequence5, 0, 0x03, TokenResult::Success},
        {kIdle, 0, 0x01, TokenResult::WriteFailed},
        {kIdle, 0, 0x30, TokenResult::Success},  // no sequence check after other commands
    };
    for (const Case& c : cases) {
        device->answers = {c.first};
        std::vector<std::uint8_t> destination(c.length);
        EXPECT_EQ(Collect(destination, c.lastCommand, 5), c.expected)
            << "flags " << int(c.first[8]) << ", command " << int(c.lastCommand);
    }
    EXPECT_EQ(clock.SleepCount(), 0);
}

TEST_F(Collector, BusyTokenIsPolledEvery10MsUntilTheTimeout) {
    device->idle = FlagsReport(0x80);
    std::array<std::uint8_t, 20> destination{};
    EXPECT_EQ(Collect(destination), TokenResult::Processing);
    EXPECT_EQ(clock.TotalSleptMs(), 120u);
    EXPECT_EQ(clock.SleepCount(), 12);
    EXPECT_EQ(device->GetCount(), 13u);
}

TEST_F(Collector, DeadlineAppliesOnlyUntilTheFirstChunk) {
    const auto data = Sample(20);
    const auto chunks = AnswerChunks(data);
    std::deque<FeatureReport> script{FlagsReport(0x80), chunks[0], chunks[1], chunks[2], chunks[3], kIdle};
    device->onGet = [&]() -> std::optional<FeatureReport> {
        clock.Advance(100);  // a slow bus: the deadline passes while collecting
        FeatureReport next = script.front();
        script.pop_front();
        return next;
    };
    std::array<std::uint8_t, 20> destination{};
    EXPECT_EQ(Collect(destination, 0x30, 0, 120), TokenResult::Success);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), destination.begin()));
}

TEST_F(Collector, DeadlineSurvivesTheTickWrapping) {
    clock.Advance(0xFFFFFFFFu - clock.TickMs() - 50);
    device->idle = FlagsReport(0x80);
    std::array<std::uint8_t, 20> destination{};
    EXPECT_EQ(Collect(destination), TokenResult::Processing);
    EXPECT_EQ(clock.TotalSleptMs(), 120u);
}

TEST_F(Collector, FailedGetsAndTooLongAnswers) {
    std::array<std::uint8_t, 20> destination{};
    device->failGetAt = device->GetAttempts();
    EXPECT_EQ(Collect(destination), TokenResult::OperationFailed);

    Queue({AnswerChunks(Sample(20))[0]});
    device->failGetAt = device->GetAttempts() + 1;
    EXPECT_EQ(Collect(destination), TokenResult::OperationFailed);

    Queue({FlagsReport(0x80)});
    device->failGetAt = device->GetAttempts() + 1;
    EXPECT_EQ(Collect(destination), TokenResult::OperationFailed);

    Queue({AnswerChunks(Sample(20))[0], FlagsReport(0x80)});
    EXPECT_EQ(Collect(destination), TokenResult::InvalidResponse);

    std::array<std::uint8_t, 55> tooLong{};
    const auto getsBefore = device->GetAttempts();
    EXPECT_EQ(Collect(tooLong), TokenResult::ParameterError);
    EXPECT_EQ(device->GetAttempts(), getsBefore);
}

}  // namespace
}  // namespace orvika2
