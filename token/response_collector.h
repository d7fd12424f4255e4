#pragma once
#include <array>
#include <cstdint>
#include <span>

#include "platform/clock.h"
#include "platform/hid.h"
#include "token/token_result.h"

namespace orvika2 {

// Commands 0x01 and 0x03, whose success the configuration sequence proves.
bool IsConfigWriteCommand(std::uint8_t command);

// Collects and checks one answer right after a frame was sent.
struct ResponseCollector {
    // Eight 7-byte slots hold at most 54 data bytes and their 2 checksum bytes.
    static constexpr std::size_t kMaxAnswerLength = 54;
    static constexpr std::uint8_t kMaxChunks = 14;

    std::uint8_t expectedLength = 0;  // 0: no data expected
    std::uint8_t receivedMask = 0;
    std::uint8_t chunksTaken = 0;
    std::array<std::uint8_t, 56> buffer{};
    std::uint32_t deadline = 0;
    // The expected answer may still sit in the token: it neither closed with
    // an idle report nor was dropped, and no touch is awaited.
    bool answerLeftPending = false;

    // The expected length is destination.size(); longer than 54 bytes is
    // refused with ParameterError before any report is read. Otherwise the
    // result is among Success, OperationFailed, WriteFailed, InvalidResponse,
    // Processing and WaitingForTouch, and `destination` is written only on
    // Success.
    TokenResult Collect(HidDevice& device, Clock& clock, std::uint16_t timeoutMs, std::span<std::uint8_t> destination,
                        std::uint8_t lastCommand, std::uint8_t expectedConfigSequence);

private:
    TokenResult CollectChunks(HidDevice& device, FeatureReport& report, std::span<std::uint8_t> destination);
};

}  // namespace orvika2
