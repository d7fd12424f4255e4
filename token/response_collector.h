#pragma once
#include <array>
#include <cstdint>
#include <span>

#include "platform/clock.h"
#include "platform/hid.h"
#include "token/token_result.h"

namespace orvika2 {

// Collects and checks one answer right after a frame was sent.
struct ResponseCollector {
    std::uint8_t expectedLength = 0;  // 0: no data expected
    std::uint8_t receivedMask = 0;
    std::uint8_t chunksTaken = 0;
    std::array<std::uint8_t, 56> buffer{};
    std::uint32_t deadline = 0;

    // Results among Success, OperationFailed, WriteFailed, InvalidResponse,
    // Processing and WaitingForTouch; `destination` (at least
    // `expectedLength` bytes) is written only on Success.
    TokenResult Collect(HidDevice& device, Clock& clock, std::uint16_t timeoutMs, std::span<std::uint8_t> destination,
                        std::uint8_t lastCommand, std::uint8_t expectedConfigSequence);
};

}  // namespace orvika2
