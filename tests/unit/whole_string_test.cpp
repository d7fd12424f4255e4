#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "platform/whole_string.h"

namespace orvika2 {
namespace {

// GetModuleFileNameW cuts a long path and returns the buffer's size;
// GetTempPathW writes nothing and returns the size it needs.
enum class Cut { ReturnsCapacity, ReturnsNeeded };

std::optional<std::wstring> Read(const std::wstring& text, Cut cut, int* calls = nullptr) {
    return ReadWholeString([&](wchar_t* buffer, std::size_t capacity) -> std::size_t {
        if (calls) ++*calls;
        if (text.size() < capacity) {
            std::wmemcpy(buffer, text.data(), text.size());
            return text.size();
        }
        if (cut == Cut::ReturnsNeeded) return text.size() + 1;
        std::wmemcpy(buffer, text.data(), capacity);
        return capacity;
    });
}

TEST(WholeString, ALongTextIsReadWholeOrNotAtAll) {
    for (const Cut cut : {Cut::ReturnsCapacity, Cut::ReturnsNeeded}) {
        for (const std::size_t length : {1u, 259u, 260u, 261u, 1000u, 32767u}) {
            const std::wstring text(length, L'p');
            EXPECT_EQ(Read(text, cut), text) << length;
        }
        EXPECT_EQ(Read(std::wstring(32768, L'p'), cut), std::nullopt) << "longer than any path";
        EXPECT_EQ(Read(L"", cut), std::nullopt) << "the call failed";
    }
    int calls = 0;
    Read(std::wstring(5000, L'p'), Cut::ReturnsNeeded, &calls);
    EXPECT_EQ(calls, 2) << "the size asked for is taken at once";
}

}  // namespace
}  // namespace orvika2
