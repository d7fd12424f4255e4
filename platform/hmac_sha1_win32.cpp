#include "platform/bcrypt_handles_win32.h"
#include "platform/hmac_sha1.h"

namespace orvika2 {
namespace {

BcryptHash CreateKeyedHash(BCRYPT_ALG_HANDLE algorithm, std::span<const std::uint8_t> key) {
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!BCRYPT_SUCCESS(BCryptCreateHash(algorithm, &hash, nullptr, 0, BcryptInput(key.data()),
                                         static_cast<ULONG>(key.size()), 0))) {
        return nullptr;
    }
    return BcryptHash(hash);
}

}  // namespace

std::array<std::uint8_t, 20> HmacSha1(std::span<const std::uint8_t> key, std::span<const std::uint8_t> message) {
    std::array<std::uint8_t, 20> digest{};
    const BcryptAlgorithm algorithm = OpenBcryptAlgorithm(BCRYPT_SHA1_ALGORITHM, BCRYPT_ALG_HANDLE_HMAC_FLAG);
    if (!algorithm) return digest;
    const BcryptHash hash = CreateKeyedHash(algorithm.get(), key);
    if (!hash) return digest;
    if (!BCRYPT_SUCCESS(BCryptHashData(hash.get(), BcryptInput(message.data()), static_cast<ULONG>(message.size()), 0))) {
        return digest;
    }
    BCryptFinishHash(hash.get(), digest.data(), static_cast<ULONG>(digest.size()), 0);
    return digest;
}

}  // namespace orvika2
