#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/hmac_sha1.h"
#include "platform/sim/sim_factory.h"
#include "platform/sim/sim_profile_record.h"
#include "platform/sim/sim_token.h"
#include "platform/token_crc16.h"

namespace orvika2 {
namespace {

using Bytes = std::vector<std::uint8_t>;

// RFC 4226 Appendix D: the ASCII secret "12345678901234567890" and the
// HMAC-SHA1 values it gives for the counters 1 and 2.
constexpr std::array<std::uint8_t, 20> kRfcKey = {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0',
                                                  '1', '2', '3', '4', '5', '6', '7', '8', '9', '0'};
constexpr std::string_view kRfcHmacCounter1 = "75a48a19d4cbe100644e8ac1397eea747a2d33ab";
constexpr std::string_view kRfcHmacCounter2 = "0bacb7fa082fef30782211938bc1c5e70416ff44";

constexpr std::uint8_t kSerialCommand = 0x10;

Bytes FromHex(std::string_view hex) {
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

Bytes CounterChallenge(std::uint64_t counter) {
    Bytes challenge(8);
    for (int i = 7; i >= 0; --i, counter >>= 8) challenge[static_cast<std::size_t>(i)] = counter & 0xFF;
    return challenge;
}

Bytes Hmac(std::span<const std::uint8_t> message) {
    const auto digest = HmacSha1(kRfcKey, message);
    return {digest.begin(), digest.end()};
}

struct SimTokenReports : ::testing::Test {
    SimTokenState state;
    std::int64_t nowMs = 1'700'000'000'000;
    SimServices services{[this] { return nowMs; }, HmacSha1, nullptr};

    SimTokenReports() {
        state.serial = {0x00, 0x0A, 0x1B, 0xFF};
        state.firmware = {2, 4, 1};
    }

    // As a host sends a frame: chunk 0, the non-zero chunks 1-8, chunk 9.
    void SendFrame(std::uint8_t command, std::span<const std::uint8_t> payload, std::uint16_t checksumError = 0) {
        std::array<std::uint8_t, 70> frame{};
        std::ranges::copy(payload, frame.begin());
        frame[64] = command;
        const auto sum = static_cast<std::uint16_t>(token_crc16(std::span(frame).first<64>()) ^ checksumError);
        frame[65] = sum & 0xFF;
        frame[66] = sum >> 8;
        for (std::size_t i = 0; i < 10; ++i) {
            FeatureReport report{};
            std::copy_n(frame.begin() + static_cast<std::ptrdiff_t>(7 * i), 7, report.begin() + 1);
            const bool blank = std::all_of(report.begin() + 1, report.begin() + 8, [](auto b) { return b == 0; });
            if (i >= 1 && i <= 8 && blank) continue;
            report[8] = static_cast<std::uint8_t>(0x80 | i);
            ASSERT_TRUE(SimSendReport(state, report, services));
        }
    }

    void SendReset() {
        FeatureReport reset{};
        reset[8] = 0x8F;
        ASSERT_TRUE(SimSendReport(state, reset, services));
    }

    FeatureReport Get() {
        FeatureReport report{};
        EXPECT_TRUE(SimGetReport(state, report, services));
        return report;
    }

    // Flags of every report up to and including the first idle one; the
    // data bytes of answer chunks are appended to `answer`.
    std::vector<std::uint8_t> FlagsUntilIdle(Bytes* answer = nullptr) {
        std::vector<std::uint8_t> flags;
        for (int i = 0; i < 40; ++i) {
            const FeatureReport report = Get();
            flags.push_back(report[8]);
            if (answer && (report[8] & 0x40)) answer->insert(answer->end(), report.begin() + 1, report.begin() + 8);
            if (report[8] == 0) break;
        }
        return flags;
    }

    // The busy phase, the answer's chunks in order, then idle; the answer is
    // the data followed by its complemented checksum.
    void ExpectAnswer(const Bytes& data) {
        Bytes answer;
        const auto flags = FlagsUntilIdle(&answer);
        std::vector<std::uint8_t> expected(state.busyGets, 0x80);
        for (std::size_t i = 0; i < (data.size() + 8) / 7; ++i) expected.push_back(static_cast<std::uint8_t>(0x40 | i));
        expected.push_back(0);
        EXPECT_EQ(flags, expected);
        ASSERT_GE(answer.size(), data.size() + 2);
        EXPECT_EQ(Bytes(answer.begin(), answer.begin() + static_cast<std::ptrdiff_t>(data.size())), data);
        EXPECT_EQ(token_crc16(std::span(answer).first(data.size() + 2)), kTokenCrcResidue);
    }

    void ExpectNoAnswer() {
        std::vector<std::uint8_t> expected(state.busyGets, 0x80);
        expected.push_back(0);
        EXPECT_EQ(FlagsUntilIdle(), expected);
    }

    void InstallTwoStep(int profile, bool touch) { FactoryInstall(state, profile, FactoryTwoStepRecord(kRfcKey, touch)); }

    // A 58-byte configuration payload: the record sealed, then a zero access code.
    static Bytes ConfigPayload(SimProfileRecord record) {
        SealRecord(record);
        Bytes payload(record.bytes.begin(), record.bytes.end());
        payload.resize(58);
        return payload;
    }
};

TEST_F(SimTokenReports, IdleStatusReport) {
    InstallTwoStep(2, false);
    EXPECT_EQ(Get(), (FeatureReport{0, 0, 2, 4, 1, 1, 0x02, 0, 0}));
}

TEST_F(SimTokenReports, SerialAnswerAfterBusyPhaseOfConfiguredLength) {
    for (std::uint32_t busy : {0u, 1u, 3u}) {
        state.busyGets = busy;
        SendFrame(kSerialCommand, {});
        ExpectAnswer({0x00, 0x0A, 0x1B, 0xFF});
    }
}

TEST_F(SimTokenReports, ChallengeAnswersHmacOfEitherProfile) {
    InstallTwoStep(1, false);
    InstallTwoStep(2, false);
    SendFrame(0x30, CounterChallenge(1));
    ExpectAnswer(FromHex(kRfcHmacCounter1));
    SendFrame(0x38, CounterChallenge(2));
    ExpectAnswer(FromHex(kRfcHmacCounter2));
}

TEST_F(SimTokenReports, FrameWithWrongChecksumIsIgnored) {
    SendFrame(kSerialCommand, {}, 0x0001);
    EXPECT_EQ(FlagsUntilIdle(), std::vector<std::uint8_t>{0});
}

TEST_F(SimTokenReports, SkippedChunksCountAsZero) {
    // A frame broken off before its last chunk leaves data in chunks 1-8;
    // the next frame skips those chunks and must still check out.
    for (std::uint8_t sequence = 0x80; sequence <= 0x88; ++sequence) {
        ASSERT_TRUE(SimSendReport(state, {0, 1, 2, 3, 4, 5, 6, 7, sequence}, services));
    }
    SendFrame(kSerialCommand, {});
    ExpectAnswer({0x00, 0x0A, 0x1B, 0xFF});
}

TEST_F(SimTokenReports, ConfigurationWritesAndTheSequence) {
    InstallTwoStep(1, false);
    InstallTwoStep(2, true);
    const auto record = *FactoryStaticRecord("pass");
    Bytes damaged = ConfigPayload(record);
    damaged[50] ^= 0x01;
    const Bytes clearing(58, 0);
    const struct {
        std::uint8_t command;
        Bytes payload;
        std::uint8_t sequence;
        std::uint8_t profileFlags;
    } steps[] = {
        {0x03, damaged, 2, 0x03},  // refused: nothing changes
        {0x03, ConfigPayload(record), 3, 0x03},
        {0x01, clearing, 4, 0x02},  // one profile remains
        {0x03, clearing, 0, 0x00},  // none remains: reads 0
        {0x01, ConfigPayload(record), 1, 0x01},  // counts on from 0
    };
    for (const auto& step : steps) {
        SendFrame(step.command, step.payload);
        ExpectNoAnswer();
        const FeatureReport status = Get();
        EXPECT_EQ(status[5], step.sequence);
        EXPECT_EQ(status[6], step.profileFlags);
    }
    ASSERT_TRUE(state.profiles[0]);
    EXPECT_TRUE(std::equal(record.bytes.begin(), record.bytes.begin() + 50, state.profiles[0]->bytes.begin()));
}

TEST_F(SimTokenReports, ChallengeToProfileWithoutHmacGetsNoAnswer) {
    FactoryInstall(state, 2, *FactoryStaticRecord("static"));
    SendFrame(0x30, CounterChallenge(1));  // profile 1 not configured
    ExpectNoAnswer();
    SendFrame(0x38, CounterChallenge(1));  // profile 2 static
    ExpectNoAnswer();
    SendFrame(0x20, CounterChallenge(1));  // a command the token does not know
    ExpectNoAnswer();
}

TEST_F(SimTokenReports, TouchWaitEndsWithATouchOrAfterFifteenSeconds) {
    InstallTwoStep(1, true);
    state.busyGets = 0;
    const auto challenge = [this] {
        SendFrame(0x30, CounterChallenge(1));
        EXPECT_EQ(Get()[8], 0x20);
    };

    challenge();
    nowMs += 5'000;
    EXPECT_TRUE(SimTouch(state, nowMs));
    ExpectAnswer(FromHex(kRfcHmacCounter1));
    EXPECT_FALSE(SimTouch(state, nowMs));

    challenge();
    nowMs += 14'999;
    EXPECT_EQ(Get()[8], 0x20);
    nowMs += 1;
    EXPECT_EQ(Get()[8], 0);
    EXPECT_FALSE(SimTouch(state, nowMs));

    // Looked at only after the give-up time, the automatic touch came first.
    state.autoTouchMs = 800;
    challenge();
    nowMs += 799;
    EXPECT_EQ(Get()[8], 0x20);
    nowMs += 20'000;
    ExpectAnswer(FromHex(kRfcHmacCounter1));
}

TEST_F(SimTokenReports, ResetDropsPendingAnswerAndTouchWait) {
    InstallTwoStep(1, true);
    InstallTwoStep(2, false);
    state.busyGets = 0;
    for (std::uint8_t command : {0x30, 0x38}) {
        SendFrame(command, CounterChallenge(1));
        EXPECT_EQ(Get()[8], command == 0x30 ? 0x20 : 0x40);
        SendReset();
        EXPECT_EQ(Get()[8], 0);
        EXPECT_FALSE(SimTouch(state, nowMs));
    }
}

TEST_F(SimTokenReports, ShortChallengeLosesTrailingRunOfItsLastByte) {
    InstallTwoStep(1, false);
    const Bytes challenge = CounterChallenge(0x100);  // ends in 00
    SendFrame(0x30, challenge);
    ExpectAnswer(Hmac(std::span(challenge).first(7)));

    Bytes padded = challenge;
    padded.resize(64, 0x01);
    SendFrame(0x30, padded);
    ExpectAnswer(Hmac(challenge));

    // Without the short-challenge flag the whole payload is the challenge.
    auto record = FactoryTwoStepRecord(kRfcKey, false);
    record.bytes[sim_record::kConfigFlags] &= static_cast<std::uint8_t>(~sim_record::kShortChallenge);
    FactoryInstall(state, 1, record);
    Bytes whole = challenge;
    whole.resize(64, 0);
    SendFrame(0x30, challenge);
    ExpectAnswer(Hmac(whole));
}

TEST_F(SimTokenReports, AFailedSendIsNotTakenAndAFailedGetLeavesTheAnswerStale) {
    state.busyGets = 0;
    // The last chunk of the serial frame; the payload and chunk 0 are all zero.
    const std::uint16_t sum = token_crc16(Bytes(64, 0));
    const FeatureReport lastChunk{0, 0, kSerialCommand, static_cast<std::uint8_t>(sum & 0xFF),
                                  static_cast<std::uint8_t>(sum >> 8), 0, 0, 0, 0x89};
    SimArmFaults(state, {.failSendAtReport = 1, .failGetAtReport = 4});
    EXPECT_FALSE(SimSendReport(state, lastChunk, services));  // 1
    EXPECT_EQ(Get()[8], 0);                                   // 2: the frame was not taken
    EXPECT_TRUE(SimSendReport(state, lastChunk, services));   // 3
    FeatureReport report{};
    EXPECT_FALSE(SimGetReport(state, report, services));      // 4: the token loses its place
    for (int i = 0; i < 20; ++i) ASSERT_EQ(Get()[8], 0x40);   // and holds the answer for good
    SendReset();
    EXPECT_EQ(Get()[8], 0);

    // The idle report that closes an answer is one of its reports too.
    SendFrame(kSerialCommand, {});
    SimArmFaults(state, {.failGetAtReport = 2});
    EXPECT_EQ(Get()[8], 0x40);
    EXPECT_FALSE(SimGetReport(state, report, services));
    EXPECT_EQ(Get()[8], 0x40);
}

TEST_F(SimTokenReports, StuckBusyAndBadChecksumFaults) {
    state.busyGets = 0;
    SimArmFaults(state, {.stuckBusy = true});
    SendFrame(kSerialCommand, {});
    for (int i = 0; i < 20; ++i) ASSERT_EQ(Get()[8], 0x80);
    SimArmFaults(state, {.badAnswerChecksum = true});
    Bytes answer;
    EXPECT_EQ(FlagsUntilIdle(&answer), (std::vector<std::uint8_t>{0x40, 0}));

    SendFrame(kSerialCommand, {});
    answer.clear();
    EXPECT_EQ(FlagsUntilIdle(&answer), (std::vector<std::uint8_t>{0x40, 0}));
    EXPECT_EQ(Bytes(answer.begin(), answer.begin() + 4), (Bytes{0x00, 0x0A, 0x1B, 0xFF}));
    EXPECT_NE(token_crc16(std::span(answer).first(6)), kTokenCrcResidue);

    SimArmFaults(state, {.stuckBusyFromReport = 2});
    EXPECT_EQ(Get()[8], 0);
    for (int i = 0; i < 20; ++i) ASSERT_EQ(Get()[8], 0x80);
}

TEST_F(SimTokenReports, VanishesAfterArmedReportCount) {
    SimArmFaults(state, {.vanishAfterReports = 2});
    EXPECT_FALSE(SimIsVanished(state));
    Get();
    Get();
    EXPECT_TRUE(SimIsVanished(state));
    FeatureReport report{};
    EXPECT_FALSE(SimGetReport(state, report, services));
    EXPECT_FALSE(SimSendReport(state, report, services));
    SimArmFaults(state, {});
    EXPECT_FALSE(SimIsVanished(state));

    // Back after vanishing, it was plugged in afresh: nothing is pending.
    SendFrame(kSerialCommand, {});
    SimArmFaults(state, {.vanishAfterReports = 0});
    SimArmFaults(state, {});
    EXPECT_EQ(Get()[8], 0);
}

}  // namespace
}  // namespace orvika2
