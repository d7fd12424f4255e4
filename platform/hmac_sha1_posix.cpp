#include <openssl/evp.h>
#include <openssl/hmac.h>

#include "platform/hmac_sha1.h"

namespace orvika2 {

std::array<std::uint8_t, 20> HmacSha1(std::span<const std::uint8_t> key, std::span<const std::uint8_t> message) {
    std::array<std::uint8_t, 20> digest{};
    // libcrypto treats a null key pointer as "reuse the previous key"; an
    // empty key must still be a valid pointer.
    static constexpr std::uint8_t kNoKey = 0;
    static constexpr std::uint8_t kNoMessage = 0;
    unsigned int length = 0;
    HMAC(EVP_sha1(), key.empty() ? &kNoKey : key.data(), static_cast<int>(key.size()),
         message.empty() ? &kNoMessage : message.data(), message.size(), digest.data(), &length);
    return digest;
}

}  // namespace orvika2
