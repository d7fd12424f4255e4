#pragma once
// Sizes of registry data, kept apart from the Win32 calls so they can be
// checked everywhere.
#include <cstddef>
#include <cstdint>

namespace orvika2 {

// REG_SZ data: the UTF-16 code units and the terminating NUL, two bytes each.
constexpr std::uint32_t RegSzDataBytes(std::size_t utf16Length) {
    return static_cast<std::uint32_t>(2 * (utf16Length + 1));
}

}  // namespace orvika2
