#include "tests/support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <system_error>

namespace orvika2::testing {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        path_ = base / ("orvika2-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::error_code ec;
        if (std::filesystem::create_directory(path_, ec)) break;
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

}  // namespace orvika2::testing
