#include "token/token_frame.h"

#include <algorithm>

#include "platform/secure_memory.h"
#include "platform/token_crc16.h"

namespace orvika2 {

TokenFrame BuildTokenFrame(std::uint8_t command, std::span<const std::uint8_t> payload) {
    TokenFrame frame{};
    const auto copied = std::min(payload.size(), kTokenPayloadSize);
    std::copy_n(payload.begin(), copied, frame.begin());
    frame[64] = command;
    const std::uint16_t crc = token_crc16(std::span(frame).first(kTokenPayloadSize));
    frame[65] = static_cast<std::uint8_t>(crc & 0xFF);
    frame[66] = static_cast<std::uint8_t>(crc >> 8);
    return frame;
}

TokenResult SendTokenFrame(HidDevice& device, Clock& clock, const TokenFrame& frame) {
    constexpr std::size_t kChunks = kTokenFrameSize / kTokenChunkSize;
    FeatureReport report{};
    TokenResult result = TokenResult::Success;
    for (std::size_t i = 0; i < kChunks; ++i) {
        const auto chunk = std::span(frame).subspan(i * kTokenChunkSize, kTokenChunkSize);
        const bool lastChunk = i == kChunks - 1;
        if (i != 0 && !lastChunk && std::ranges::all_of(chunk, [](std::uint8_t b) { return b == 0; })) {
            continue;
        }
        report[0] = 0;
        std::ranges::copy(chunk, report.begin() + 1);
        report[8] = static_cast<std::uint8_t>(0x80 | i);
        clock.SleepMs(2);
        if (!device.SendFeature(report)) {
            result = TokenResult::OperationFailed;
            break;
        }
        if (lastChunk) {
            break;
        }
        // The token's reply to a chunk carries nothing the sender needs.
        report.fill(0);
        if (!device.GetFeature(report)) {
            result = TokenResult::OperationFailed;
            break;
        }
    }
    // Configuration frames carry the profile's secret key.
    SecureWipe(report.data(), report.size());
    return result;
}

FeatureReport ResetReport() {
    FeatureReport report{};
    report[8] = kResetSequence;
    return report;
}

}  // namespace orvika2
