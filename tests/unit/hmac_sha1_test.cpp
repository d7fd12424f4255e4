#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hmac_sha1.h"

namespace orvika2 {
namespace {

std::vector<std::uint8_t> Repeated(std::uint8_t byte, std::size_t count) { return std::vector<std::uint8_t>(count, byte); }

std::vector<std::uint8_t> Text(std::string_view text) { return {text.begin(), text.end()}; }

std::string Hex(const std::array<std::uint8_t, 20>& digest) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (std::uint8_t byte : digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

struct HmacCase {
    std::vector<std::uint8_t> key;
    std::vector<std::uint8_t> message;
    std::string digest;
};

TEST(HmacSha1, Rfc2202TestCases) {
    std::vector<std::uint8_t> counting;
    for (std::uint8_t i = 1; i <= 25; ++i) counting.push_back(i);
    const std::vector<HmacCase> cases = {
        {Repeated(0x0b, 20), Text("Hi There"), "b617318655057264e28bc0b6fb378c8ef146be00"},
        {Text("Jefe"), Text("what do ya want for nothing?"), "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79"},
        {Repeated(0xaa, 20), Repeated(0xdd, 50), "125d7342b9ac11cd91a39af48aa17b4f63f175d3"},
        {counting, Repeated(0xcd, 50), "4c9007f4026250c6bc8414f9bf50c86c2d7235da"},
        {Repeated(0x0c, 20), Text("Test With Truncation"), "4c1a03424b55e07fe7f27be1d58bb9324a9a5a04"},
        {Repeated(0xaa, 80), Text("Test Using Larger Than Block-Size Key - Hash Key First"),
         "aa4ae5e15272d00e95705637ce8a3b55ed402112"},
        {Repeated(0xaa, 80), Text("Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data"),
         "e8e99d0f45237d786d6bbaa7965c7808bbff1a91"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(Hex(HmacSha1(cases[i].key, cases[i].message)), cases[i].digest) << "RFC 2202 case " << i + 1;
    }
}

TEST(HmacSha1, EmptyKeyAndMessage) {
    EXPECT_EQ(Hex(HmacSha1({}, {})), "fbdb1d1b18aa6c08324b7d64b71fb76370690e1d");
}

}  // namespace
}  // namespace orvika2
