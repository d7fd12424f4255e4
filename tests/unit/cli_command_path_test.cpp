#include <gtest/gtest.h>

#include "cli/command_path.h"
#include "platform/text.h"

namespace orvika2 {
namespace {

TEST(CommandPath, RelativeArgumentsMeanFilesInTheStartDirectory) {
    const StartDirectory windows{L"Z:\\home\\user", PathStyle::Windows};
    const StartDirectory windowsRoot{L"C:\\", PathStyle::Windows};
    const StartDirectory posix{L"/home/user", PathStyle::Posix};
    const struct {
        const StartDirectory& start;
        std::wstring_view path;
        std::wstring_view resolved;
    } cases[] = {
        {windows, L"p1.bcp", L"Z:\\home\\user\\p1.bcp"},
        {windows, L"sub\\p1.bcp", L"Z:\\home\\user\\sub\\p1.bcp"},
        {windows, L"..\\p1.bcp", L"Z:\\home\\user\\..\\p1.bcp"},
        {windows, L"C:\\keep\\p1.bcp", L"C:\\keep\\p1.bcp"},
        {windows, L"c:/keep/p1.bcp", L"c:/keep/p1.bcp"},
        {windows, L"\\\\server\\share\\p1.bcp", L"\\\\server\\share\\p1.bcp"},
        {windows, L"\\top\\p1.bcp", L"Z:\\top\\p1.bcp"},
        {windows, L"z:p1.bcp", L"Z:\\home\\user\\p1.bcp"},
        {windows, L"D:p1.bcp", L"D:p1.bcp"},
        {windowsRoot, L"p1.bcp", L"C:\\p1.bcp"},
        {posix, L"p1.bcp", L"/home/user/p1.bcp"},
        {posix, L"/tmp/p1.bcp", L"/tmp/p1.bcp"},
        {posix, L"C:\\p1.bcp", L"/home/user/C:\\p1.bcp"},
        {posix, L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResolveCommandPath(c.path, c.start), c.resolved) << NarrowUtf8(c.path);
    }
}

}  // namespace
}  // namespace orvika2
