#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvika2 {

// CRC-16/MCRF4XX: reflected polynomial 0x8408, initial 0xFFFF, no final XOR.
std::uint16_t token_crc16(std::span<const std::uint8_t> data);

// token_crc16 over a block followed by its complemented checksum, low byte first.
inline constexpr std::uint16_t kTokenCrcResidue = 0xF0B8;

}  // namespace orvika2
