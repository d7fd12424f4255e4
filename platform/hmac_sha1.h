#pragma once
#include <array>
#include <cstdint>
#include <span>

namespace orvika2 {

// HMAC-SHA1 (RFC 2104) from the platform's crypto library: libcrypto on
// Linux, BCrypt on Windows. All zero in the unlikely case that the library
// refuses: the token then answers a value the host cannot confirm.
std::array<std::uint8_t, 20> HmacSha1(std::span<const std::uint8_t> key, std::span<const std::uint8_t> message);

}  // namespace orvika2
