#include <gtest/gtest.h>

#include <vector>

#include "tests/support/fake_clock.h"
#include "tests/support/fake_hid.h"
#include "token/token_frame.h"
#include "token/token_status.h"

namespace orvika2 {
namespace {

using testing::FakeHidEvent;

struct FrameSender : ::testing::Test {
    testing::FakeClock clock;
    testing::FakeHidBus bus;
    std::shared_ptr<testing::FakeHidDevice> device = bus.AddToken();
    std::unique_ptr<HidDevice> handle = bus.Open(L"\\\\?\\hid#token");

    TokenResult Send(std::uint8_t command, std::vector<std::uint8_t> payload) {
        return SendTokenFrame(*handle, clock, BuildTokenFrame(command, payload));
    }
};

TEST(TokenFrame, CarriesPayloadCommandAndUncomplementedChecksum) {
    const TokenFrame zero = BuildTokenFrame(0x10, {});
    EXPECT_EQ(zero[64], 0x10);
    EXPECT_EQ(zero[65], 0x6B);  // token_crc16 of 64 zero bytes is 0x5B6B
    EXPECT_EQ(zero[66], 0x5B);

    const std::vector<std::uint8_t> payload{1, 2, 3};
    const TokenFrame frame = BuildTokenFrame(0x30, payload);
    EXPECT_EQ((std::vector<std::uint8_t>(frame.begin(), frame.begin() + 4)), (std::vector<std::uint8_t>{1, 2, 3, 0}));
    EXPECT_NE(frame[65] | frame[66] << 8, 0x5B6B);
    EXPECT_EQ(frame[67] | frame[68] | frame[69], 0);
}

TEST_F(FrameSender, AllZeroPayloadSendsFirstAndLastChunkWithOneGetBetween) {
    EXPECT_EQ(Send(0x01, {}), TokenResult::Success);
    ASSERT_EQ(device->log.size(), 3u);
    EXPECT_EQ(device->log[0].kind, FakeHidEvent::Kind::Send);
    EXPECT_EQ(device->log[1].kind, FakeHidEvent::Kind::Get);
    EXPECT_EQ(device->log[2].kind, FakeHidEvent::Kind::Send);
    EXPECT_EQ(device->SentSequenceBytes(), (std::vector<std::uint8_t>{0x80, 0x89}));
    EXPECT_EQ(device->Sent()[1][2], 0x01);  // chunk 9: last payload byte, then the command
    EXPECT_EQ(clock.SleepCount(), 2);
    EXPECT_EQ(clock.TotalSleptMs(), 4u);
}

TEST_F(FrameSender, SendsEveryChunkWithAnyNonZeroByte) {
    std::vector<std::uint8_t> payload(64, 0);
    payload[7] = 0xAA;   // chunk 1
    payload[27] = 0x01;  // chunk 3, its last byte
    payload[56] = 0x02;  // chunk 8, its first byte
    EXPECT_EQ(Send(0x30, payload), TokenResult::Success);
    EXPECT_EQ(device->SentSequenceBytes(), (std::vector<std::uint8_t>{0x80, 0x81, 0x83, 0x88, 0x89}));
    EXPECT_EQ(device->GetCount(), 4u);
    EXPECT_EQ(device->LastSentFrame(), BuildTokenFrame(0x30, payload));
}

TEST_F(FrameSender, StopsAtTheFirstFailedTransfer) {
    const std::vector<std::uint8_t> payload(64, 0x11);
    device->failSendAt = 1;
    EXPECT_EQ(Send(0x30, payload), TokenResult::OperationFailed);
    EXPECT_EQ(device->log.size(), 2u);  // chunk 0 and its get

    device->log.clear();
    device->failSendAt.reset();
    device->failGetAt = device->GetAttempts();  // the get after chunk 0
    EXPECT_EQ(Send(0x30, payload), TokenResult::OperationFailed);
    EXPECT_EQ(device->Sent().size(), 1u);
}

TEST(TokenFrame, ResetReportIsZeroButForItsSequenceByte) {
    EXPECT_EQ(ResetReport(), (FeatureReport{0, 0, 0, 0, 0, 0, 0, 0, 0x8F}));
}

TEST(TokenStatus, ParsesEveryReportAndFlagsNonIdleOnes) {
    TokenStatus status;
    EXPECT_EQ(ParseStatusReport(FeatureReport{0, 0x77, 2, 2, 9, 41, 0x03, 0x81, 0}, status), TokenResult::Success);
    EXPECT_EQ(status.firmwareMajor, 2);
    EXPECT_EQ(status.firmwareMinor, 2);
    EXPECT_EQ(status.firmwareBuild, 9);
    EXPECT_EQ(status.configSequence, 41);
    EXPECT_EQ(status.profileFlags, 0x8103);

    for (std::uint8_t flags : {0x80, 0x41, 0x20, 0x01}) {
        EXPECT_EQ(ParseStatusReport(FeatureReport{0, 0, 3, 1, 0, 7, 0x02, 0, flags}, status), TokenResult::NotReady);
        EXPECT_EQ(status.firmwareMajor, 3);
        EXPECT_EQ(status.configSequence, 7);
        EXPECT_FALSE(status.ProfileConfigured(1));
        EXPECT_TRUE(status.ProfileConfigured(2));
    }
}

}  // namespace
}  // namespace orvika2
