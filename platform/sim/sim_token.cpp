#include "platform/sim/sim_token.h"

#include <algorithm>
#include <limits>
#include <span>

#include "platform/secure_memory.h"
#include "platform/sim/sim_profile_record.h"
#include "platform/token_crc16.h"

namespace orvika2 {
namespace {

constexpr std::size_t kPayloadSize = 64;
constexpr std::size_t kChunkSize = 7;
constexpr std::size_t kConfigPayloadSize = 58;

constexpr std::uint8_t kFirstChunkSequence = 0x80;
constexpr std::uint8_t kLastChunkIndex = 9;
constexpr std::uint8_t kResetSequence = 0x8F;

constexpr std::uint8_t kFlagBusy = 0x80;
constexpr std::uint8_t kFlagAnswer = 0x40;
constexpr std::uint8_t kFlagWaitingForTouch = 0x20;

constexpr std::uint8_t kCommandConfigure1 = 0x01;
constexpr std::uint8_t kCommandConfigure2 = 0x03;
constexpr std::uint8_t kCommandSerial = 0x10;
constexpr std::uint8_t kCommandChallenge1 = 0x30;
constexpr std::uint8_t kCommandChallenge2 = 0x38;

enum class Direction { Send, Get };

// Counts the report and decides whether an injected fault swallows it.
bool TransferSurvives(SimTokenState& state, Direction direction) {
    if (state.reportsSinceArmed < std::numeric_limits<std::uint32_t>::max()) ++state.reportsSinceArmed;
    const std::uint32_t number = state.reportsSinceArmed;
    const SimFaults& faults = state.faults;
    if (faults.vanishAfterReports && number > *faults.vanishAfterReports) return false;
    const auto& failAt = direction == Direction::Send ? faults.failSendAtReport : faults.failGetAtReport;
    return !(failAt && *failAt == number);
}

bool AnyProfileConfigured(const SimTokenState& state) {
    return std::ranges::any_of(state.profiles, [](const auto& profile) { return profile.has_value(); });
}

void FillStatus(const SimTokenState& state, FeatureReport& report, std::uint8_t flags) {
    report[2] = state.firmware[0];
    report[3] = state.firmware[1];
    report[4] = state.firmware[2];
    report[5] = SimStatusSequence(state);
    report[6] = static_cast<std::uint8_t>((state.profiles[0] ? 1 : 0) | (state.profiles[1] ? 2 : 0));
    report[7] = 0;
    report[8] = flags;
}

void PutAnswer(SimTokenState& state, std::span<const std::uint8_t> data) {
    auto& answer = state.exchange.answer;
    answer.assign(data.begin(), data.end());
    const auto sum = static_cast<std::uint16_t>(~token_crc16(data));
    answer.push_back(static_cast<std::uint8_t>(sum & 0xFF));
    answer.push_back(static_cast<std::uint8_t>(sum >> 8));
    if (state.faults.badAnswerChecksum) answer[data.size()] ^= 0xFF;
    state.exchange.nextAnswerChunk = 0;
    state.exchange.answerStale = false;
}

void Configure(SimTokenState& state, std::size_t slot, std::span<const std::uint8_t, kPayloadSize> payload) {
    const auto written = payload.first<kConfigPayloadSize>();
    if (std::ranges::all_of(written, [](std::uint8_t byte) { return byte == 0; })) {
        state.profiles[slot].reset();
    } else if (RecordChecksumHolds(payload.first<kSimRecordSize>())) {
        SimProfileRecord record;
        std::ranges::copy(payload.first<kSimRecordSize>(), record.bytes.begin());
        state.profiles[slot] = record;
    } else {
        return;
    }
    state.sequence = AnyProfileConfigured(state) ? static_cast<std::uint8_t>(state.sequence + 1) : 0;
}

// With the short-challenge flag the challenge is the payload less the
// trailing run of bytes equal to its last byte, padding and all.
std::span<const std::uint8_t> ChallengeOf(const SimProfileRecord& record,
                                          std::span<const std::uint8_t, kPayloadSize> payload) {
    if ((record.bytes[sim_record::kConfigFlags] & sim_record::kShortChallenge) == 0) return payload;
    std::size_t length = payload.size();
    while (length > 0 && payload[length - 1] == payload.back()) --length;
    return payload.first(length);
}

void Challenge(SimTokenState& state, std::size_t slot, std::span<const std::uint8_t, kPayloadSize> payload,
               const SimServices& services, std::int64_t nowMs) {
    const auto& profile = state.profiles[slot];
    if (!profile || !IsTwoStepRecord(*profile)) return;
    Wiped<std::array<std::uint8_t, 20>> key(TwoStepKeyOf(*profile));
    const auto digest = services.hmacSha1(key.get(), ChallengeOf(*profile, payload));
    PutAnswer(state, digest);
    if (RequiresTouch(*profile)) state.exchange.touchWaitSinceMs = nowMs;
}

void ActOnFrame(SimTokenState& state, const SimServices& services, std::int64_t nowMs) {
    const auto& frame = state.exchange.frame;
    const auto payload = std::span(frame).first<kPayloadSize>();
    const std::uint8_t command = frame[kPayloadSize];
    const auto checksum = static_cast<std::uint16_t>(frame[kPayloadSize + 1] | (frame[kPayloadSize + 2] << 8));
    if (token_crc16(payload) != checksum) return;

    state.exchange.answer.clear();
    state.exchange.nextAnswerChunk = 0;
    state.exchange.touchWaitSinceMs.reset();
    switch (command) {
        case kCommandConfigure1: Configure(state, 0, payload); break;
        case kCommandConfigure2: Configure(state, 1, payload); break;
        case kCommandSerial: PutAnswer(state, state.serial); break;
        case kCommandChallenge1: Challenge(state, 0, payload, services, nowMs); break;
        case kCommandChallenge2: Challenge(state, 1, payload, services, nowMs); break;
        default: break;
    }
    state.exchange.busyGetsLeft = state.busyGets;
    state.exchange.busySinceMs = nowMs;
}

bool IsResetReport(const FeatureReport& report) {
    return report[8] == kResetSequence && std::all_of(report.begin(), report.begin() + 8, [](auto b) { return b == 0; });
}

// The answer's chunks in order, then the idle report that closes it.
void NextAnswerReport(SimTokenState& state, FeatureReport& report) {
    auto& exchange = state.exchange;
    const std::size_t chunks = (exchange.answer.size() + kChunkSize - 1) / kChunkSize;
    const std::size_t index = exchange.answerStale ? 0 : exchange.nextAnswerChunk;
    if (index == chunks) {
        exchange.answer.clear();
        exchange.nextAnswerChunk = 0;
        FillStatus(state, report, 0);
        return;
    }
    const std::size_t begin = index * kChunkSize;
    const std::size_t end = std::min(begin + kChunkSize, exchange.answer.size());
    std::copy(exchange.answer.begin() + static_cast<std::ptrdiff_t>(begin),
              exchange.answer.begin() + static_cast<std::ptrdiff_t>(end), report.begin() + 1);
    report[8] = static_cast<std::uint8_t>(kFlagAnswer | index);
    if (!exchange.answerStale) ++exchange.nextAnswerChunk;
}

bool StuckBusy(const SimTokenState& state) {
    const auto& from = state.faults.stuckBusyFromReport;
    return state.faults.stuckBusy || (from && state.reportsSinceArmed >= *from);
}

}  // namespace

bool SimSendReport(SimTokenState& state, const FeatureReport& report, const SimServices& services) {
    if (!TransferSurvives(state, Direction::Send)) return false;
    const std::int64_t nowMs = services.wallClockMs();
    SimSettleTouchWait(state, nowMs);
    if (IsResetReport(report)) {
        state.exchange = {};
        return true;
    }
    const std::uint8_t sequence = report[8];
    if (sequence < kFirstChunkSequence || sequence > kFirstChunkSequence + kLastChunkIndex) return true;
    const std::size_t index = sequence - kFirstChunkSequence;
    auto& frame = state.exchange.frame;
    if (index == 0) frame.fill(0);
    std::copy(report.begin() + 1, report.begin() + 8, frame.begin() + static_cast<std::ptrdiff_t>(index * kChunkSize));
    if (index == kLastChunkIndex) {
        ActOnFrame(state, services, nowMs);
        SecureWipe(frame.data(), frame.size());
    }
    return true;
}

bool SimGetReport(SimTokenState& state, FeatureReport& report, const SimServices& services) {
    auto& exchange = state.exchange;
    if (!TransferSurvives(state, Direction::Get)) {
        // As the real token does, it keeps an answer whose get failed
        // pending for good.
        if (!exchange.answer.empty() && !exchange.touchWaitSinceMs) exchange.answerStale = true;
        return false;
    }
    const std::int64_t nowMs = services.wallClockMs();
    SimSettleTouchWait(state, nowMs);
    if (nowMs - exchange.busySinceMs >= kSimBusyAtMostMs) exchange.busyGetsLeft = 0;
    report.fill(0);
    if (exchange.busyGetsLeft > 0 || StuckBusy(state)) {
        if (exchange.busyGetsLeft > 0) --exchange.busyGetsLeft;
        FillStatus(state, report, kFlagBusy);
    } else if (exchange.touchWaitSinceMs) {
        FillStatus(state, report, kFlagWaitingForTouch);
    } else if (!exchange.answer.empty()) {
        NextAnswerReport(state, report);
    } else {
        FillStatus(state, report, 0);
    }
    return true;
}

bool SimIsVanished(const SimTokenState& state) {
    return state.faults.vanishAfterReports && state.reportsSinceArmed >= *state.faults.vanishAfterReports;
}

std::uint8_t SimStatusSequence(const SimTokenState& state) {
    return AnyProfileConfigured(state) ? state.sequence : 0;
}

bool SimTouch(SimTokenState& state, std::int64_t nowMs) {
    SimSettleTouchWait(state, nowMs);
    if (!state.exchange.touchWaitSinceMs) return false;
    state.exchange.touchWaitSinceMs.reset();
    return true;
}

void SimSettleTouchWait(SimTokenState& state, std::int64_t nowMs) {
    auto& exchange = state.exchange;
    if (!exchange.touchWaitSinceMs) return;
    const std::int64_t waited = std::max<std::int64_t>(0, nowMs - *exchange.touchWaitSinceMs);
    if (state.autoTouchMs && *state.autoTouchMs < kSimTouchTimeoutMs && waited >= *state.autoTouchMs) {
        exchange.touchWaitSinceMs.reset();
    } else if (waited >= kSimTouchTimeoutMs) {
        exchange.touchWaitSinceMs.reset();
        exchange.answer.clear();
        exchange.nextAnswerChunk = 0;
        exchange.answerStale = false;
    }
}

void SimArmFaults(SimTokenState& state, const SimFaults& faults) {
    // A vanished token that comes back was plugged in afresh: whatever it
    // held in RAM is gone.
    if (SimIsVanished(state)) state.exchange = {};
    state.faults = faults;
    state.reportsSinceArmed = 0;
}

}  // namespace orvika2
