#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "desktop/product_version_win32.h"
#include "platform/executable_path_win32.h"
#include "platform/text.h"

namespace orvika2 {
namespace {

// tests/e2e/win_executable_path.sh runs a copy of this program from a folder
// deeper than MAX_PATH and names the path it should find for itself.
constexpr char kExpectedVariable[] = "ORVIKA2_TEST_EXPECTED_PROGRAM";

TEST(ExecutablePath, IsTheWholePathHoweverDeep) {
    const auto self = ExecutablePath();
    ASSERT_TRUE(self);
    EXPECT_TRUE(std::filesystem::exists(PathFromWide(*self))) << NarrowUtf8(*self);
    if (const char* expected = std::getenv(kExpectedVariable)) {
        EXPECT_EQ(NarrowUtf8(*self), expected);
        EXPECT_GT(self->size(), static_cast<std::size_t>(MAX_PATH));
        EXPECT_FALSE(GetProductVersion().empty()) << "the version resource is read from the whole path";
    }
}

}  // namespace
}  // namespace orvika2
