#include "platform/sim/sim_profile_record.h"

#include <algorithm>

#include "platform/token_crc16.h"

namespace orvika2 {

bool IsTwoStepRecord(const SimProfileRecord& record) {
    return (record.bytes[sim_record::kOutputFlags] & sim_record::kChallengeResponse) != 0 &&
           (record.bytes[sim_record::kConfigFlags] & sim_record::kHmacChallenge) == sim_record::kHmacChallenge;
}

bool RequiresTouch(const SimProfileRecord& record) {
    return (record.bytes[sim_record::kConfigFlags] & sim_record::kRequireTouch) != 0;
}

std::array<std::uint8_t, 20> TwoStepKeyOf(const SimProfileRecord& record) {
    std::array<std::uint8_t, 20> key{};
    std::copy_n(record.bytes.begin() + 22, 16, key.begin());
    std::copy_n(record.bytes.begin() + 16, 4, key.begin() + 16);
    return key;
}

void SealRecord(SimProfileRecord& record) {
    const auto sum = static_cast<std::uint16_t>(~token_crc16(std::span(record.bytes).first<sim_record::kChecksum>()));
    record.bytes[sim_record::kChecksum] = static_cast<std::uint8_t>(sum & 0xFF);
    record.bytes[sim_record::kChecksum + 1] = static_cast<std::uint8_t>(sum >> 8);
}

bool RecordChecksumHolds(std::span<const std::uint8_t, kSimRecordSize> bytes) {
    return token_crc16(bytes) == kTokenCrcResidue;
}

}  // namespace orvika2
