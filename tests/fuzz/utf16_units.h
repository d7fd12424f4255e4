#pragma once
// Lengths as the Windows side counts them: UTF-16 units, where wchar_t may
// hold a character beyond the Basic Multilingual Plane whole.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvika2::fuzzing {

inline std::size_t Utf16Units(std::wstring_view text) {
    std::size_t units = 0;
    for (const wchar_t c : text) units += (static_cast<std::uint32_t>(c) >> 16) != 0 ? 2 : 1;
    return units;
}

}  // namespace orvika2::fuzzing
