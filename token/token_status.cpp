#include "token/token_status.h"

namespace orvika2 {

TokenResult ParseStatusReport(const FeatureReport& report, TokenStatus& out) {
    out.firmwareMajor = report[2];
    out.firmwareMinor = report[3];
    out.firmwareBuild = report[4];
    out.configSequence = report[5];
    out.profileFlags = static_cast<std::uint16_t>(report[6] | (report[7] << 8));
    return report[8] == 0 ? TokenResult::Success : TokenResult::NotReady;
}

}  // namespace orvika2
