#include <windows.h>

#include <bcrypt.h>

#include <memory>

#include "platform/hmac_sha1.h"

namespace orvika2 {
namespace {

// Both BCrypt handle types are plain pointers.
struct AlgorithmCloser {
    void operator()(BCRYPT_ALG_HANDLE handle) const { BCryptCloseAlgorithmProvider(handle, 0); }
};
struct HashDestroyer {
    void operator()(BCRYPT_HASH_HANDLE handle) const { BCryptDestroyHash(handle); }
};
using AlgorithmHandle = std::unique_ptr<void, AlgorithmCloser>;
using HashHandle = std::unique_ptr<void, HashDestroyer>;

AlgorithmHandle OpenHmacSha1() {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA1_ALGORITHM, nullptr, BCRYPT_ALG_HANDLE_HMAC_FLAG) != 0) {
        return nullptr;
    }
    return AlgorithmHandle(algorithm);
}

HashHandle CreateKeyedHash(BCRYPT_ALG_HANDLE algorithm, std::span<const std::uint8_t> key) {
    BCRYPT_HASH_HANDLE hash = nullptr;
    // BCrypt takes the key as a non-const buffer but does not write it.
    auto* secret = const_cast<PUCHAR>(key.data());
    if (BCryptCreateHash(algorithm, &hash, nullptr, 0, secret, static_cast<ULONG>(key.size()), 0) != 0) {
        return nullptr;
    }
    return HashHandle(hash);
}

}  // namespace

std::array<std::uint8_t, 20> HmacSha1(std::span<const std::uint8_t> key, std::span<const std::uint8_t> message) {
    std::array<std::uint8_t, 20> digest{};
    const AlgorithmHandle algorithm = OpenHmacSha1();
    if (!algorithm) return digest;
    const HashHandle hash = CreateKeyedHash(algorithm.get(), key);
    if (!hash) return digest;
    auto* data = const_cast<PUCHAR>(message.data());
    if (BCryptHashData(hash.get(), data, static_cast<ULONG>(message.size()), 0) != 0) return digest;
    BCryptFinishHash(hash.get(), digest.data(), static_cast<ULONG>(digest.size()), 0);
    return digest;
}

}  // namespace orvika2
