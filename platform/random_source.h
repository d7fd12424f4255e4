#pragma once
// The operating system's cryptographic random source.
#include <cstdint>
#include <span>

namespace orvika2 {

// Fills `out` completely; false when the system could not deliver.
bool FillRandom(std::span<std::uint8_t> out);

}  // namespace orvika2
