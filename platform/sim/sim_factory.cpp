#include "platform/sim/sim_factory.h"

#include <algorithm>

#include "platform/sim/sim_keyboard.h"
#include "platform/sim/sim_profile_record.h"

namespace orvika2 {
namespace {

constexpr std::size_t kOutputBlockSize = 16;
constexpr std::uint8_t kSerialReadable = 0x04;  // extended flags
constexpr std::uint8_t kTwoStepConfig = 0x26;

}  // namespace

SimProfileRecord FactoryTwoStepRecord(std::span<const std::uint8_t, 20> key, bool requireTouch) {
    SimProfileRecord record;
    std::copy_n(key.begin(), 16, record.bytes.begin() + 22);
    std::copy_n(key.begin() + 16, 4, record.bytes.begin() + 16);
    record.bytes[sim_record::kExtendedFlags] = kSerialReadable;
    record.bytes[sim_record::kOutputFlags] = sim_record::kChallengeResponse;
    record.bytes[sim_record::kConfigFlags] =
        static_cast<std::uint8_t>(kTwoStepConfig | (requireTouch ? sim_record::kRequireTouch : 0));
    return record;
}

std::optional<SimProfileRecord> FactoryStaticRecord(std::string_view text) {
    if (text.empty() || text.size() > kSimStaticTextMax) return std::nullopt;
    SimProfileRecord record;
    // The codes run on through the output, id and key blocks, which lie
    // side by side in bytes 0-37.
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::uint8_t code = SimKeyCodeOf(text[i]);
        if (code == 0) return std::nullopt;
        record.bytes[i] = code;
    }
    record.bytes[sim_record::kOutputLength] = static_cast<std::uint8_t>(std::min(text.size(), kOutputBlockSize));
    record.bytes[sim_record::kExtendedFlags] = kSerialReadable;
    record.bytes[sim_record::kConfigFlags] = sim_record::kStaticOutput;
    return record;
}

void FactoryInstall(SimTokenState& state, int profile, SimProfileRecord record) {
    SealRecord(record);
    state.profiles[SimSlotOf(profile)] = record;
    state.sequence = static_cast<std::uint8_t>(state.sequence + 1);
}

}  // namespace orvika2
