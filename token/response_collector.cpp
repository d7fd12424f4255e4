#include "token/response_collector.h"

#include <algorithm>

#include "platform/token_crc16.h"
#include "token/token_frame.h"

namespace orvika2 {
namespace {

constexpr std::uint8_t kFlagBusy = 0x80;
constexpr std::uint8_t kFlagPending = 0x40;
constexpr std::uint8_t kFlagTouch = 0x20;

bool GetReport(HidDevice& device, FeatureReport& report) {
    report.fill(0);
    return device.GetFeature(report);
}

// The tick wraps like GetTickCount, so compare by signed distance.
bool Reached(std::uint32_t now, std::uint32_t deadline) { return static_cast<std::int32_t>(now - deadline) >= 0; }

}  // namespace

bool IsConfigWriteCommand(std::uint8_t command) { return command == 0x01 || command == 0x03; }

TokenResult ResponseCollector::Collect(HidDevice& device, Clock& clock, std::uint16_t timeoutMs,
                                       std::span<std::uint8_t> destination, std::uint8_t lastCommand,
                                       std::uint8_t expectedConfigSequence) {
    if (destination.size() > kMaxAnswerLength) {
        return TokenResult::ParameterError;
    }
    expectedLength = static_cast<std::uint8_t>(destination.size());
    receivedMask = 0;
    chunksTaken = 0;
    buffer.fill(0);
    deadline = clock.TickMs() + timeoutMs;
    answerLeftPending = expectedLength != 0;

    FeatureReport report{};
    if (!GetReport(device, report)) {
        return TokenResult::OperationFailed;
    }
    for (;;) {
        const std::uint8_t flags = report[8];
        if (flags == 0) {
            answerLeftPending = false;
            if (expectedLength != 0) {
                return TokenResult::InvalidResponse;
            }
            if (IsConfigWriteCommand(lastCommand)) {
                return report[5] == expectedConfigSequence ? TokenResult::Success : TokenResult::WriteFailed;
            }
            return TokenResult::Success;
        }
        if (flags & kFlagPending) {
            return CollectChunks(device, report, destination);
        }
        if (flags & kFlagTouch) {
            answerLeftPending = false;
            return TokenResult::WaitingForTouch;
        }
        if (!(flags & kFlagBusy)) {
            return TokenResult::OperationFailed;
        }
        if (Reached(clock.TickMs(), deadline)) {
            return TokenResult::Processing;
        }
        clock.SleepMs(10);
        if (!GetReport(device, report)) {
            return TokenResult::OperationFailed;
        }
    }
}

TokenResult ResponseCollector::CollectChunks(HidDevice& device, FeatureReport& report,
                                             std::span<std::uint8_t> destination) {
    chunksTaken = 1;
    for (;;) {
        const std::uint8_t slot = report[8] & 0x07;
        std::copy_n(report.begin() + 1, 7, buffer.begin() + slot * 7);
        receivedMask = static_cast<std::uint8_t>(receivedMask | (1u << slot));

        if (!GetReport(device, report)) {
            return TokenResult::OperationFailed;
        }
        const std::uint8_t flags = report[8];
        if (flags == 0) {
            answerLeftPending = false;
            if (expectedLength == 0) {
                return TokenResult::InvalidResponse;
            }
            const unsigned slotsNeeded = (expectedLength + 8u) / 7u;
            if (receivedMask != static_cast<std::uint8_t>((1u << slotsNeeded) - 1u)) {
                return TokenResult::InvalidResponse;
            }
            if (token_crc16(std::span(buffer).first(expectedLength + 2u)) != kTokenCrcResidue) {
                return TokenResult::InvalidResponse;
            }
            std::copy_n(buffer.begin(), expectedLength, destination.begin());
            return TokenResult::Success;
        }
        if (!(flags & kFlagPending)) {
            return TokenResult::InvalidResponse;
        }
        if (++chunksTaken > kMaxChunks) {
            // Drop the runaway answer so the token is usable again.
            answerLeftPending = false;
            return device.SendFeature(ResetReport()) ? TokenResult::InvalidResponse : TokenResult::OperationFailed;
        }
    }
}

}  // namespace orvika2
