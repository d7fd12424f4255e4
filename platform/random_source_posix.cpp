#include "platform/random_source.h"

#include <sys/random.h>

#include <cerrno>

namespace orvika2 {

bool FillRandom(std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        // Requests above 256 bytes may come back short, and a signal may
        // interrupt a call that has not yet delivered anything.
        const ssize_t got = getrandom(out.data() + done, out.size() - done, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace orvika2
