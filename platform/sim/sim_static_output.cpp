#include "platform/sim/sim_static_output.h"

#include <algorithm>

#include "platform/sim/sim_keyboard.h"
#include "platform/sim/sim_profile_record.h"

namespace orvika2 {
namespace {

constexpr std::size_t kOutputBlockSize = 16;
constexpr std::size_t kLastCodeEnd = 38;  // output, id and key blocks

}  // namespace

std::optional<std::string> SimPress(const SimTokenState& state, int profile) {
    const auto& record = state.profiles[SimSlotOf(profile)];
    if (!record || IsTwoStepRecord(*record)) return std::nullopt;
    const auto& bytes = record->bytes;
    const std::size_t outputLength = std::min<std::size_t>(bytes[sim_record::kOutputLength], kOutputBlockSize);
    // A full output block continues into the id and key blocks.
    const std::size_t end = outputLength == kOutputBlockSize ? kLastCodeEnd : outputLength;
    std::string typed;
    for (std::size_t i = 0; i < end && bytes[i] != 0; ++i) {
        const char character = SimCharacterOf(bytes[i]);
        typed.push_back(character != 0 ? character : '?');
    }
    return typed;
}

}  // namespace orvika2
