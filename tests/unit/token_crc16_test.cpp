#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "platform/token_crc16.h"

namespace orvika2 {
namespace {

std::uint16_t CrcOf(std::string_view text) {
    return token_crc16(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

TEST(TokenCrc16, MatchesPublishedCheckValues) {
    EXPECT_EQ(token_crc16({}), 0xFFFF);
    const std::vector<std::uint8_t> zeros(64, 0);
    EXPECT_EQ(token_crc16(zeros), 0x5B6B);
    EXPECT_EQ(CrcOf("123456789"), 0x6F91);                              // CRC-16/MCRF4XX
    EXPECT_EQ(static_cast<std::uint16_t>(~CrcOf("123456789")), 0x906E);  // CRC-16/IBM-SDLC
}

TEST(TokenCrc16, BlockFollowedByComplementedChecksumGivesResidue) {
    for (std::size_t length : {0u, 1u, 20u, 50u}) {
        std::vector<std::uint8_t> block;
        for (std::size_t i = 0; i < length; ++i) {
            block.push_back(static_cast<std::uint8_t>(i * 37 + 11));
        }
        const auto crc = static_cast<std::uint16_t>(~token_crc16(block));
        block.push_back(static_cast<std::uint8_t>(crc & 0xFF));
        block.push_back(static_cast<std::uint8_t>(crc >> 8));
        EXPECT_EQ(token_crc16(block), kTokenCrcResidue) << "length " << length;
    }
}

}  // namespace
}  // namespace orvika2
