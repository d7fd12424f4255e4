#pragma once
// What the simulated token takes from its surroundings: the time, the HMAC
// primitive and a locked state file. The portable code receives them as
// values, so tests can put a fake time source in.
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace orvika2 {

using HmacSha1Function = std::array<std::uint8_t, 20> (*)(std::span<const std::uint8_t> key,
                                                          std::span<const std::uint8_t> message);

// The state file, open and held under an exclusive lock until destruction,
// so token objects in other threads and processes wait their turn.
class LockedStateFile {
public:
    virtual ~LockedStateFile() = default;
    virtual bool ReadAll(std::string& content) = 0;
    virtual bool ReplaceAll(std::string_view content) = 0;
};

enum class StateFileOpening { Existing, CreateIfMissing };

// nullptr when the file cannot be opened or locked.
using StateFileOpener = std::unique_ptr<LockedStateFile> (*)(const std::filesystem::path& path,
                                                             StateFileOpening opening);

struct SimServices {
    // Wall-clock milliseconds; a touch wait started by one process is judged
    // by the next.
    std::function<std::int64_t()> wallClockMs;
    HmacSha1Function hmacSha1 = nullptr;
    StateFileOpener openStateFile = nullptr;
};

// Milliseconds since the Unix epoch from the system clock.
std::int64_t SystemWallClockMs();

// The system clock, the platform's HMAC and its file lock.
SimServices NativeSimServices();

}  // namespace orvika2
