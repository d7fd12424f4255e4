#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "tests/support/fake_clock.h"
#include "tests/support/fake_hid.h"
#include "tests/support/sim_fixture.h"
#include "token/code_generator.h"

namespace orvika2 {
namespace {

using testing::AnswerChunks;
using testing::AnswerEveryFrame;
using testing::FlagsReport;
using testing::FromHex;
using testing::StatusReport;

// RFC 4226 appendix D, count 0: code 755224.
const std::vector<std::uint8_t> kHmac = FromHex("cc93cf18508d94934c64b65d8ba7667fb7cde4b0");
// Bytes 0-3 give 321 (byte 19's low nibble is 0).
const std::vector<std::uint8_t> kHmac321 = FromHex("00000141ffffffffffffffffffffffffffffff30");

std::vector<FeatureReport> Answer(const std::vector<std::uint8_t>& hmac) {
    auto reports = AnswerChunks(hmac);
    reports.push_back(FeatureReport{});
    return reports;
}

struct CodeGenerator : ::testing::Test {
    testing::FakeClock clock;
    testing::FakeHidBus bus;
    TokenPorts ports{bus, clock};
    std::shared_ptr<testing::FakeHidDevice> device = bus.AddToken();
};

TEST_F(CodeGenerator, RefusalsBeforeTheChallengeShowAMessageAndSendNothing) {
    struct Case {
        FeatureReport status;
        int profile;
        int messageId;
    };
    const Case cases[] = {
        {StatusReport(2, 2, 0, 0, 3, 0x20), 1, IDS_TOKEN_BUSY},
        {StatusReport(2, 2, 0, 0, 3, 0x80), 2, IDS_TOKEN_BUSY},
        {StatusReport(2, 0, 9, 0, 3), 1, IDS_PROFILE_NOT_SET},
        {StatusReport(1, 9, 0, 0, 3), 1, IDS_PROFILE_NOT_SET},
        {StatusReport(2, 2, 0, 0, 2), 1, IDS_PROFILE_NOT_SET},
        {StatusReport(2, 2, 0, 0, 1), 2, IDS_PROFILE_NOT_SET},
        {StatusReport(2, 1, 0, 0, 3), 1, IDS_CODE_FAILED},  // passes here, the write refuses it
    };
    for (const Case& c : cases) {
        device->log.clear();
        device->idle = c.status;
        const CodeOutcome outcome = GenerateVerificationCode(ports, c.profile);
        EXPECT_EQ(outcome.action, CodeAction::ShowMessage);
        EXPECT_EQ(outcome.messageId, c.messageId);
        EXPECT_TRUE(device->Sent().empty());
    }
}

TEST_F(CodeGenerator, UnreadableStatusShowsNotInserted) {
    device->failGetAt = 1;  // the second status read
    EXPECT_EQ(GenerateVerificationCode(ports, 1).messageId, IDS_NOT_INSERTED);

    testing::FakeHidBus empty;
    const CodeOutcome outcome = GenerateVerificationCode(TokenPorts{empty, clock}, 1);
    EXPECT_EQ(outcome.action, CodeAction::ShowMessage);
    EXPECT_EQ(outcome.messageId, IDS_NOT_INSERTED);
}

TEST_F(CodeGenerator, FailedChallengeWriteShowsCodeFailed) {
    device->failSendAt = 0;
    const CodeOutcome outcome = GenerateVerificationCode(ports, 1);
    EXPECT_EQ(outcome.action, CodeAction::ShowMessage);
    EXPECT_EQ(outcome.messageId, IDS_CODE_FAILED);
}

TEST_F(CodeGenerator, AnsweredChallengeGivesTheCodeToType) {
    clock.SetUnixSeconds(59);
    AnswerEveryFrame(*device, Answer(kHmac));
    const CodeOutcome outcome = GenerateVerificationCode(ports, 2);
    EXPECT_EQ(outcome.action, CodeAction::TypeCode);
    EXPECT_EQ(outcome.code.value, 755224u);

    const auto frame = device->LastSentFrame();
    EXPECT_EQ(frame[64], 0x38);
    EXPECT_EQ(std::vector<std::uint8_t>(frame.begin(), frame.begin() + 9),
              (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 1, 0}));
    EXPECT_EQ(device->SentSequenceBytes(), (std::vector<std::uint8_t>{0x80, 0x81, 0x89}));
}

TEST_F(CodeGenerator, StepEndingInZeroIsPaddedSoAllTenChunksGo) {
    clock.SetUnixSeconds(256 * 30);
    AnswerEveryFrame(*device, Answer(kHmac));
    EXPECT_EQ(GenerateVerificationCode(ports, 1).action, CodeAction::TypeCode);

    EXPECT_EQ(device->SentSequenceBytes(),
              (std::vector<std::uint8_t>{0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89}));
    const auto frame = device->LastSentFrame();
    EXPECT_EQ(frame[64], 0x30);
    EXPECT_EQ(std::vector<std::uint8_t>(frame.begin(), frame.begin() + 8),
              (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 1, 0}));
    EXPECT_TRUE(std::all_of(frame.begin() + 8, frame.begin() + 64, [](std::uint8_t b) { return b == 0x01; }));
}

TEST_F(CodeGenerator, BusyTokenIsWaitedForBeforeTheChallenge) {
    // Idle for the two checks, then busy for a while before the write, the
    // last millisecond of step 1 passing meanwhile: the challenge is step 2.
    clock.SetUnixSeconds(59);
    clock.Advance(999);
    device->answers = {StatusReport(2, 2, 0, 0, 3), StatusReport(2, 2, 0, 0, 3), FlagsReport(0x80),
                       FlagsReport(0x80)};
    AnswerEveryFrame(*device, Answer(kHmac));
    EXPECT_EQ(GenerateVerificationCode(ports, 1).action, CodeAction::TypeCode);
    const auto frame = device->LastSentFrame();
    EXPECT_EQ(std::vector<std::uint8_t>(frame.begin(), frame.begin() + 8),
              (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 2}));
}

TEST_F(CodeGenerator, TouchWaitAndSilentFailures) {
    AnswerEveryFrame(*device, {FlagsReport(0x20)});
    CodeOutcome outcome = GenerateVerificationCode(ports, 2);
    EXPECT_EQ(outcome.action, CodeAction::AwaitTouch);
    EXPECT_EQ(outcome.profile, 2);

    AnswerEveryFrame(*device, std::vector<FeatureReport>(13, FlagsReport(0x80)));
    EXPECT_EQ(GenerateVerificationCode(ports, 1).action, CodeAction::Nothing);

    AnswerEveryFrame(*device, {});  // idle at once: no answer
    EXPECT_EQ(GenerateVerificationCode(ports, 1).action, CodeAction::Nothing);
}

struct TouchWait : CodeGenerator {
    std::atomic<bool> cancelled{false};
    std::size_t waits = 0;
    // The token waits for its button `touchAfter` gets long, then sends `then`.
    void Script(std::size_t touchAfter, std::vector<FeatureReport> then) {
        device->onGet = [this, touchAfter, then = std::move(then), sent = std::size_t{0}]() mutable
            -> std::optional<FeatureReport> {
            clock.Advance(1);
            if (waits < touchAfter) {
                ++waits;
                return FlagsReport(0x20);
            }
            return sent < then.size() ? then[sent++] : FeatureReport{};
        };
    }
};

TEST_F(TouchWait, EndsWithTheCodeOnceTouched) {
    Script(50, Answer(kHmac321));
    const auto code = WaitForTouchedCode(ports, cancelled);
    ASSERT_TRUE(code);
    EXPECT_EQ(code->Text(), "000321");
    EXPECT_TRUE(device->Sent().empty());  // no new challenge
}

TEST_F(TouchWait, EndsWithNothingWhenTheTokenGivesUpOrVanishes) {
    Script(50, {});
    EXPECT_FALSE(WaitForTouchedCode(ports, cancelled));

    waits = 0;
    Script(50, {});
    device->failGetAt = device->GetAttempts() + 10;
    EXPECT_FALSE(WaitForTouchedCode(ports, cancelled));
}

TEST_F(TouchWait, EndsWhenCancelledOrAfterItsTimeLimit) {
    Script(1'000'000'000, {});
    const auto inner = device->onGet;
    device->onGet = [&]() {
        const auto report = inner();
        if (waits == 30) {
            cancelled = true;
        }
        return report;
    };
    EXPECT_FALSE(WaitForTouchedCode(ports, cancelled));
    EXPECT_EQ(waits, 30u);

    cancelled = false;
    device->onGet = inner;
    const std::uint32_t start = clock.TickMs();
    EXPECT_FALSE(WaitForTouchedCode(ports, cancelled, 5000));
    EXPECT_GE(clock.TickMs() - start, 5000u);
    EXPECT_LT(clock.TickMs() - start, 5010u);
}

TEST_F(CodeGenerator, ProbeTellsKindsAndWhetherTheyAreDefinite) {
    struct Case {
        FeatureReport status;                // as the caller read it
        std::optional<FeatureReport> atWrite;  // status the write's own check reads
        std::vector<FeatureReport> answer;
        ProbeResult expected;
        bool sends;
    };
    const FeatureReport ready = StatusReport(2, 2, 0, 0, 3);
    auto garbled = Answer(kHmac);
    garbled[1][3] ^= 0xFF;
    const Case cases[] = {
        {StatusReport(2, 0, 0, 0, 3), {}, {}, {ProfileKind::NotConfigured, true}, false},
        {StatusReport(2, 2, 0, 0, 2), {}, {}, {ProfileKind::NotConfigured, true}, false},
        {StatusReport(2, 1, 0, 0, 3), {}, {}, {ProfileKind::NotConfigured, true}, false},
        {ready, StatusReport(2, 2, 0, 0, 3, 0x80), {}, {ProfileKind::NotConfigured, false}, false},
        {ready, {}, Answer(kHmac), {ProfileKind::TwoStep, true}, true},
        {ready, {}, {FlagsReport(0x20)}, {ProfileKind::TwoStep, true}, true},
        {ready, {}, {FeatureReport{}}, {ProfileKind::StaticPassword, true}, true},
        {ready, {}, garbled, {ProfileKind::StaticPassword, false}, true},
        {ready, {}, std::vector<FeatureReport>(13, FlagsReport(0x80)), {ProfileKind::StaticPassword, false}, true},
    };
    for (const Case& c : cases) {
        device->log.clear();
        device->idle = c.atWrite.value_or(c.status);
        AnswerEveryFrame(*device, c.answer);
        CTokenLib token(ports);
        ASSERT_EQ(token.Open(), TokenResult::Success);
        TokenStatus status;
        ParseStatusReport(c.status, status);
        EXPECT_EQ(ProbeProfileKind(token, status, 1), c.expected) << "case " << (&c - cases);
        EXPECT_EQ(!device->Sent().empty(), c.sends) << "case " << (&c - cases);
    }
}

TEST_F(CodeGenerator, ProbeSendsFourZeroBytesToTheProfilesCommand) {
    AnswerEveryFrame(*device, Answer(kHmac));
    CTokenLib token(ports);
    ASSERT_EQ(token.Open(), TokenResult::Success);
    TokenStatus status;
    ParseStatusReport(device->idle, status);
    EXPECT_EQ(ProbeProfileKind(token, status, 2).kind, ProfileKind::TwoStep);
    EXPECT_EQ(device->SentSequenceBytes(), (std::vector<std::uint8_t>{0x80, 0x89}));
    EXPECT_EQ(device->LastSentFrame()[64], 0x38);

    device->failGetAt = device->GetAttempts() + 3;  // status, chunk 0's get, then the answer
    EXPECT_EQ(ProbeProfileKind(token, status, 1), (ProbeResult{ProfileKind::StaticPassword, false}));

    CTokenLib closed(ports);
    EXPECT_EQ(ProbeProfileKind(closed, status, 1), (ProbeResult{ProfileKind::NotConfigured, false}));
}

TEST(StaleAnswer, IsDroppedSoTheRequestWorksAtOnce) {
    // RFC 6238's SHA-1 secret: 287082 at Unix time 59.
    constexpr std::array<std::uint8_t, 20> kKey = {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0',
                                                   '1', '2', '3', '4', '5', '6', '7', '8', '9', '0'};
    for (const bool viaCode : {false, true}) {
        testing::SimToken sim;
        sim.InstallTwoStep(1, kKey);
        sim.clock.SetUnixSeconds(59);
        // An answer whose get failed in an earlier session: the token holds it for good.
        sim.state.exchange.answer = FromHex("0102030405060708090a0b0c0d0e");
        sim.state.exchange.answerStale = true;
        if (viaCode) {
            const CodeOutcome outcome = GenerateVerificationCode(sim.ports(), 1);
            ASSERT_EQ(outcome.action, CodeAction::TypeCode);
            EXPECT_EQ(outcome.code.Text(), "287082");
        } else {
            EXPECT_EQ(ReadSerialString(sim.ports()), L"000a1bff");
        }
    }
}

}  // namespace
}  // namespace orvika2
