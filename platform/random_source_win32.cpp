#include "platform/random_source.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <limits>

namespace orvika2 {

bool FillRandom(std::span<std::uint8_t> out) {
    constexpr std::size_t kMaxChunk = std::numeric_limits<ULONG>::max();
    for (std::size_t done = 0; done < out.size();) {
        const auto chunk = static_cast<ULONG>(std::min(out.size() - done, kMaxChunk));
        if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, out.data() + done, chunk, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
            return false;
        }
        done += chunk;
    }
    return true;
}

}  // namespace orvika2
