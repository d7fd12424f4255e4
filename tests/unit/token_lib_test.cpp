#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/token_crc16.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_hid.h"
#include "token/token_lib.h"

namespace orvika2 {
namespace {

using testing::AnswerChunks;
using testing::AnswerEveryFrame;
using testing::FlagsReport;
using testing::StatusReport;

constexpr HidIdentity kWineKeyboard{0x845E, 0x0001};

struct TokenSession : ::testing::Test {
    testing::FakeClock clock;
    testing::FakeHidBus bus;
    TokenPorts ports{bus, clock};
};

TEST_F(TokenSession, DiscoveryCountsOnlyOpenableTokensNewestFirst) {
    bus.AddInterface(L"kbd", kWineKeyboard);
    bus.AddInterface(L"p0010", {0x1050, 0x0010});
    bus.AddInterface(L"p0112", {0x1050, 0x0112});
    bus.AddInterface(L"p0110", {0x1050, 0x0110});
    bus.AddInterface(L"locked", {0x1050, 0x0010}, /*opens=*/false);
    bus.AddInterface(L"other-vendor", {0x1051, 0x0010});
    bus.AddInterface(L"p0111", {0x1050, 0x0111});
    CTokenLib token(ports);
    EXPECT_EQ(token.EnumerateTokens(), 3);
    EXPECT_EQ((std::vector<std::wstring>(token.DeviceList().begin(), token.DeviceList().end())),
              (std::vector<std::wstring>{L"p0111", L"p0110", L"p0010"}));
    // A second run rebuilds the list instead of adding to it.
    EXPECT_EQ(token.EnumerateTokens(), 3);
    EXPECT_EQ(std::distance(token.DeviceList().begin(), token.DeviceList().end()), 3);
}

TEST_F(TokenSession, DiscoveryExaminesAtMostAThousandInterfaces) {
    for (int i = 0; i < 999; ++i) {
        bus.AddInterface(L"kbd" + std::to_wstring(i), kWineKeyboard);
    }
    bus.AddToken(L"token-999");
    bus.AddToken(L"token-1000");
    CTokenLib token(ports);
    EXPECT_EQ(token.EnumerateTokens(), 1);
    EXPECT_EQ(token.DeviceList().front(), L"token-999");
    EXPECT_EQ(bus.identityReads, 1000u);
}

TEST_F(TokenSession, OpenResultsFollowTheCount) {
    CTokenLib token(ports);
    bus.AddInterface(L"kbd", kWineKeyboard);
    EXPECT_EQ(token.Open(), TokenResult::NotInserted);

    bus.listFails = true;
    EXPECT_EQ(token.EnumerateTokens(), kEnumerationFailed);
    EXPECT_EQ(token.Open(), TokenResult::MoreThanOneToken);
    EXPECT_TRUE(token.DeviceList().empty());
    bus.listFails = false;

    auto first = bus.AddToken(L"a");
    EXPECT_EQ(token.Open(), TokenResult::Success);
    EXPECT_TRUE(token.IsOpen());

    auto second = bus.AddToken(L"b");
    EXPECT_EQ(token.Open(), TokenResult::MoreThanOneToken);
    EXPECT_FALSE(token.IsOpen());
    EXPECT_EQ(first->opens, 1u);
    EXPECT_EQ(second->opens, 0u);
}

TEST_F(TokenSession, OpenFailsWhenTheListedPathWillNotOpen) {
    auto device = bus.AddToken();
    device->vanished = true;  // listed and identified, then gone
    CTokenLib token(ports);
    EXPECT_EQ(token.Open(), TokenResult::OperationFailed);
    EXPECT_FALSE(token.IsOpen());
}

struct OpenToken : TokenSession {
    std::shared_ptr<testing::FakeHidDevice> device = bus.AddToken();
    CTokenLib token{ports};
    void SetUp() override { ASSERT_EQ(token.Open(), TokenResult::Success); }
};

TEST_F(OpenToken, WriteFrameChecksInOrderAndRefusalsSendNothing) {
    const std::vector<std::uint8_t> tooLong(65, 0x11);
    CTokenLib closed(ports);
    EXPECT_EQ(closed.WriteFrame(0x30, tooLong), TokenResult::DeviceNotOpen);
    EXPECT_EQ(closed.RequestSerial(), TokenResult::DeviceNotOpen);

    EXPECT_EQ(token.WriteFrame(0x30, tooLong), TokenResult::ParameterError);
    EXPECT_TRUE(device->log.empty());

    device->idle = StatusReport(2, 2, 0, 0, 3, 0x80);
    EXPECT_EQ(token.WriteFrame(0x01, {}), TokenResult::NotReady);
    device->failGetAt = device->GetAttempts();
    EXPECT_EQ(token.WriteFrame(0x01, {}), TokenResult::OperationFailed);
    EXPECT_TRUE(device->Sent().empty());
}

TEST_F(OpenToken, CommandsAboveThreeNeedFirmware22) {
    struct Case {
        std::uint8_t major, minor, command;
        TokenResult expected;
    };
    const Case cases[] = {
        {2, 1, 0x30, TokenResult::Unsupported}, {2, 1, 0x10, TokenResult::Unsupported},
        {1, 9, 0x38, TokenResult::Unsupported}, {2, 2, 0x30, TokenResult::Success},
        {3, 0, 0x30, TokenResult::Success},     {1, 0, 0x01, TokenResult::Success},
        {2, 1, 0x03, TokenResult::Success},
    };
    const std::vector<std::uint8_t> challenge{0, 0, 0, 0, 0, 0, 0, 1};
    for (const Case& c : cases) {
        device->log.clear();
        device->idle = StatusReport(c.major, c.minor, 0, 0, 3);
        EXPECT_EQ(token.WriteFrame(c.command, challenge), c.expected)
            << int(c.major) << "." << int(c.minor) << " command " << int(c.command);
        EXPECT_EQ(device->Sent().empty(), c.expected != TokenResult::Success);
        if (c.expected == TokenResult::Success) {
            EXPECT_EQ(token.LastCommand(), c.command);
        }
    }
}

TEST_F(OpenToken, RequestSerialSendsCommand10WithZeroPayload) {
    EXPECT_EQ(token.RequestSerial(), TokenResult::Success);
    EXPECT_EQ(device->SentSequenceBytes(), (std::vector<std::uint8_t>{0x80, 0x89}));
    const auto frame = device->LastSentFrame();
    EXPECT_EQ(frame[64], 0x10);
    EXPECT_TRUE(std::all_of(frame.begin(), frame.begin() + 64, [](std::uint8_t b) { return b == 0; }));
}

TEST_F(OpenToken, WriteConfigFillsTheChecksumAndExpectsTheNextSequence) {
    ProfileRecordBytes record{};
    for (std::size_t i = 0; i < record.size(); ++i) {
        record[i] = static_cast<std::uint8_t>(0xC0 + i);  // 50-51 hold junk the write must replace
    }
    device->idle = StatusReport(2, 2, 0, 255, 1);
    EXPECT_EQ(token.WriteConfig(true, &record), TokenResult::Success);

    const auto frame = device->LastSentFrame();
    EXPECT_EQ(frame[64], 0x03);
    EXPECT_TRUE(std::equal(record.begin(), record.begin() + 50, frame.begin()));
    EXPECT_EQ(token_crc16(std::span(frame).first(52)), kTokenCrcResidue);
    EXPECT_TRUE(std::all_of(frame.begin() + 52, frame.begin() + 64, [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(token.ExpectedConfigSequence(), 0);  // 255 + 1 wraps

    // The collection after the write checks the token's new sequence.
    device->answers = {StatusReport(2, 2, 0, 0, 3)};
    EXPECT_EQ(token.ReadResponse(600, {}), TokenResult::Success);
    device->answers = {StatusReport(2, 2, 0, 255, 3)};
    EXPECT_EQ(token.ReadResponse(600, {}), TokenResult::WriteFailed);
}

TEST_F(OpenToken, ClearingWriteSendsTwoChunksAndExpectsSequenceZero) {
    device->idle = StatusReport(2, 2, 0, 7, 1);
    EXPECT_EQ(token.WriteConfig(false, nullptr), TokenResult::Success);
    EXPECT_EQ(device->SentSequenceBytes(), (std::vector<std::uint8_t>{0x80, 0x89}));
    EXPECT_EQ(device->LastSentFrame()[64], 0x01);
    EXPECT_EQ(token.ExpectedConfigSequence(), 0);
}

TEST_F(OpenToken, WriteConfigAdjustsTheSequenceEvenWhenRefused) {
    ProfileRecordBytes record{};
    device->idle = StatusReport(2, 2, 0, 7, 1);
    ASSERT_EQ(token.WriteConfig(false, &record), TokenResult::Success);
    EXPECT_EQ(token.ExpectedConfigSequence(), 8);
    device->idle = StatusReport(2, 2, 0, 20, 1, 0x80);
    EXPECT_EQ(token.WriteConfig(false, &record), TokenResult::NotReady);
    EXPECT_EQ(token.ExpectedConfigSequence(), 9);
}

TEST_F(OpenToken, CancelPendingResetsOnlyATokenThatIsNotIdle) {
    EXPECT_EQ(token.CancelPending(), TokenResult::Success);
    EXPECT_TRUE(device->Sent().empty());

    device->answers = {FlagsReport(0x20)};
    EXPECT_EQ(token.CancelPending(), TokenResult::Success);
    EXPECT_EQ(device->Sent(), (std::vector<FeatureReport>{FeatureReport{0, 0, 0, 0, 0, 0, 0, 0, 0x8F}}));

    device->answers = {FlagsReport(0x20), FlagsReport(0x20)};
    EXPECT_EQ(token.CancelPending(), TokenResult::NotReady);  // the fresh status is passed on

    device->answers = {FlagsReport(0x20)};
    device->failSendAt = device->SendAttempts();
    EXPECT_EQ(token.CancelPending(), TokenResult::OperationFailed);

    CTokenLib closed(ports);
    EXPECT_EQ(closed.CancelPending(), TokenResult::DeviceNotOpen);
}

TEST_F(OpenToken, ReadResponseWithoutDeviceFailsLikeAFailedGet) {
    CTokenLib closed(ports);
    std::array<std::uint8_t, 20> answer{};
    EXPECT_EQ(closed.ReadResponse(120, answer), TokenResult::OperationFailed);
}

TEST_F(OpenToken, IdleWaitGivesUpAfter61PausesOrAtAFailedGet) {
    TokenStatus status;
    device->idle = StatusReport(3, 1, 4, 0, 2, 0x80);
    EXPECT_EQ(WaitForIdleToken(token, status), TokenResult::NotReady);
    EXPECT_EQ(clock.SleepCount(), 61);
    EXPECT_EQ(clock.TotalSleptMs(), 61u * 50u);
    EXPECT_EQ(status.firmwareMajor, 3);

    device->failGetAt = device->GetAttempts() + 2;
    const int sleepsBefore = clock.SleepCount();
    EXPECT_EQ(WaitForIdleToken(token, status), TokenResult::OperationFailed);
    EXPECT_EQ(clock.SleepCount() - sleepsBefore, 2);

    device->answers = {FlagsReport(0x40), FlagsReport(0x80)};
    device->idle = StatusReport(2, 2, 0, 5, 1);
    EXPECT_EQ(WaitForIdleToken(token, status), TokenResult::Success);
    EXPECT_EQ(status.configSequence, 5);
}

TEST_F(TokenSession, ReadSerialStringGivesEightLowercaseHexDigits) {
    auto device = bus.AddToken();
    device->answers = {FlagsReport(0x80), FlagsReport(0x80)};  // still busy at first
    const std::vector<std::uint8_t> serial{0x00, 0x0A, 0x1B, 0xFF};
    AnswerEveryFrame(*device, AnswerChunks(serial));
    EXPECT_EQ(ReadSerialString(ports), L"000a1bff");
    EXPECT_EQ(device->LastSentFrame()[64], 0x10);
    EXPECT_EQ(clock.SleepCount(), 2 + 2);  // two idle-wait pauses, two chunks
}

TEST_F(TokenSession, ReadSerialStringIsEmptyOnAnyFailure) {
    EXPECT_EQ(ReadSerialString(ports), L"");

    auto device = bus.AddToken();
    FeatureReport corrupt = AnswerChunks(std::vector<std::uint8_t>{1, 2, 3, 4})[0];
    corrupt[5] ^= 0x01;  // checksum
    AnswerEveryFrame(*device, {corrupt});
    device->idle = StatusReport(2, 2, 0, 0, 3);
    EXPECT_EQ(ReadSerialString(ports), L"");

    device->onSend = nullptr;
    device->idle = StatusReport(2, 1, 0, 0, 3);  // serial needs firmware 2.2
    EXPECT_EQ(ReadSerialString(ports), L"");
}

}  // namespace
}  // namespace orvika2
