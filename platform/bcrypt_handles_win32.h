#pragma once
// Owning BCrypt handles; all three handle types are plain pointers.
#include <windows.h>

#include <bcrypt.h>

#include <memory>

namespace orvika2 {

struct BcryptAlgorithmCloser {
    void operator()(BCRYPT_ALG_HANDLE handle) const { BCryptCloseAlgorithmProvider(handle, 0); }
};
struct BcryptHashDestroyer {
    void operator()(BCRYPT_HASH_HANDLE handle) const { BCryptDestroyHash(handle); }
};
struct BcryptKeyDestroyer {
    void operator()(BCRYPT_KEY_HANDLE handle) const { BCryptDestroyKey(handle); }
};
using BcryptAlgorithm = std::unique_ptr<void, BcryptAlgorithmCloser>;
using BcryptHash = std::unique_ptr<void, BcryptHashDestroyer>;
using BcryptKey = std::unique_ptr<void, BcryptKeyDestroyer>;

// A provider of `algorithm` (BCRYPT_SHA256_ALGORITHM, BCRYPT_AES_ALGORITHM ...)
// with BCryptOpenAlgorithmProvider's flags; null when refused.
inline BcryptAlgorithm OpenBcryptAlgorithm(LPCWSTR algorithm, ULONG flags = 0) {
    BCRYPT_ALG_HANDLE handle = nullptr;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&handle, algorithm, nullptr, flags))) return nullptr;
    return BcryptAlgorithm(handle);
}

// BCrypt takes its input buffers as non-const but never writes them.
inline PUCHAR BcryptInput(const std::uint8_t* bytes) { return const_cast<PUCHAR>(bytes); }

}  // namespace orvika2
