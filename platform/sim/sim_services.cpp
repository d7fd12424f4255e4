#include <chrono>

#include "platform/sim/sim_services.h"

namespace orvika2 {

std::int64_t SystemWallClockMs() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}

}  // namespace orvika2
