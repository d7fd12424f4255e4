#pragma once
#include <cstdint>

#include "platform/hid.h"
#include "token/token_result.h"

namespace orvika2 {

struct TokenStatus {
    std::uint8_t firmwareMajor = 0;
    std::uint8_t firmwareMinor = 0;
    std::uint8_t firmwareBuild = 0;
    std::uint8_t configSequence = 0;
    std::uint16_t profileFlags = 0;

    bool FirmwareAtLeast(std::uint8_t major, std::uint8_t minor) const {
        return firmwareMajor > major || (firmwareMajor == major && firmwareMinor >= minor);
    }
    bool ProfileConfigured(int profile) const { return (profileFlags & (profile == 1 ? 1 : 2)) != 0; }
};

// Fills every field from any report; Success when the flags byte is zero,
// NotReady otherwise.
TokenResult ParseStatusReport(const FeatureReport& report, TokenStatus& out);

}  // namespace orvika2
