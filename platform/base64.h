#pragma once
// Standard Base64 with padding (RFC 4648, section 4).
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvika2 {

std::string EncodeBase64(std::span<const std::uint8_t> bytes);

// Only the canonical form: the standard alphabet, padded to a multiple of
// four, no white space, unused bits zero. Anything else gives nullopt, so
// one value has one spelling.
std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text);

}  // namespace orvika2
