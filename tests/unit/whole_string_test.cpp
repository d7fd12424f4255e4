#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "platform/whole_string.h"

namespace orvika2 {
namespace {

TEST(WholeString, ALongTextIsReadWholeOrNotAtAll) {
    // As GetModuleFileNameW: a text that does not fit is cut to the buffer.
    const auto read = [](const std::wstring& text) {
        return ReadWholeString([&](wchar_t* buffer, std::size_t capacity) {
            const std::size_t written = std::min(text.size(), capacity);
            std::wmemcpy(buffer, text.data(), written);
            return written;
        });
    };
    for (const std::size_t length : {1u, 259u, 260u, 261u, 1000u, 32767u}) {
        const std::wstring text(length, L'p');
        EXPECT_EQ(read(text), text) << length;
    }
    EXPECT_EQ(read(std::wstring(32768, L'p')), std::nullopt) << "longer than any path";
    EXPECT_EQ(read(L""), std::nullopt) << "the call failed";
}

}  // namespace
}  // namespace orvika2
