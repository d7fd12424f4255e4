#pragma once
// Texts from calls that fill a caller's buffer and cut what does not fit,
// such as GetModuleFileNameW: the buffer grows until the whole text fits, so
// a long path is never taken for a shorter one.
#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>

namespace orvika2 {

// The longest path Windows knows, with its NUL.
inline constexpr std::size_t kLongestPathBuffer = 32768;

// `fill(buffer, capacity)` returns the characters it wrote, 0 on failure,
// `capacity` when the text was cut. nullopt on failure or when even the
// largest buffer is too small.
template <typename Fill>
std::optional<std::wstring> ReadWholeString(Fill fill, std::size_t capacity = 260,
                                            std::size_t largest = kLongestPathBuffer) {
    std::wstring buffer;
    while (true) {
        buffer.assign(capacity, L'\0');
        const std::size_t length = fill(buffer.data(), capacity);
        if (length == 0) return std::nullopt;
        if (length < capacity) {
            buffer.resize(length);
            return buffer;
        }
        if (capacity >= largest) return std::nullopt;
        capacity = std::min(largest, 2 * capacity);
    }
}

}  // namespace orvika2
