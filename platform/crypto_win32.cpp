#include <limits>

#include "platform/bcrypt_handles_win32.h"
#include "platform/crypto.h"

namespace orvika2 {
namespace {

bool FitsUlong(std::size_t size) { return size <= std::numeric_limits<ULONG>::max(); }

// An AES-256 key in GCM mode; null when refused.
struct GcmKey {
    BcryptAlgorithm algorithm;
    BcryptKey key;
};

GcmKey MakeGcmKey(std::span<const std::uint8_t> key) {
    GcmKey gcm{OpenBcryptAlgorithm(BCRYPT_AES_ALGORITHM), nullptr};
    if (!gcm.algorithm || key.size() != kAes256KeySize) return {};
    auto* mode = reinterpret_cast<PUCHAR>(const_cast<wchar_t*>(BCRYPT_CHAIN_MODE_GCM));
    if (!BCRYPT_SUCCESS(BCryptSetProperty(gcm.algorithm.get(), BCRYPT_CHAINING_MODE, mode,
                                          sizeof(BCRYPT_CHAIN_MODE_GCM), 0))) {
        return {};
    }
    BCRYPT_KEY_HANDLE handle = nullptr;
    if (!BCRYPT_SUCCESS(BCryptGenerateSymmetricKey(gcm.algorithm.get(), &handle, nullptr, 0, BcryptInput(key.data()),
                                                   static_cast<ULONG>(key.size()), 0))) {
        return {};
    }
    gcm.key.reset(handle);
    return gcm;
}

BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO GcmInfo(std::span<const std::uint8_t> nonce,
                                              std::span<const std::uint8_t> associatedData, std::uint8_t* tag) {
    BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO info;
    BCRYPT_INIT_AUTH_MODE_INFO(info);
    info.pbNonce = BcryptInput(nonce.data());
    info.cbNonce = static_cast<ULONG>(nonce.size());
    info.pbAuthData = associatedData.empty() ? nullptr : BcryptInput(associatedData.data());
    info.cbAuthData = static_cast<ULONG>(associatedData.size());
    info.pbTag = tag;
    info.cbTag = static_cast<ULONG>(kGcmTagSize);
    return info;
}

bool GcmSizesFit(std::span<const std::uint8_t> nonce, std::span<const std::uint8_t> data,
                 std::span<const std::uint8_t> associatedData) {
    return nonce.size() == kGcmNonceSize && FitsUlong(data.size()) && FitsUlong(associatedData.size());
}

}  // namespace

std::optional<SecretBytes> Pbkdf2HmacSha256(std::span<const std::uint8_t> passphrase,
                                            std::span<const std::uint8_t> salt, std::uint32_t iterations,
                                            std::size_t length) {
    if (iterations == 0 || !FitsUlong(passphrase.size()) || !FitsUlong(salt.size()) || !FitsUlong(length)) {
        return std::nullopt;
    }
    const BcryptAlgorithm hmac = OpenBcryptAlgorithm(BCRYPT_SHA256_ALGORITHM, BCRYPT_ALG_HANDLE_HMAC_FLAG);
    if (!hmac) return std::nullopt;
    SecretBytes key{std::vector<std::uint8_t>(length)};
    if (!BCRYPT_SUCCESS(BCryptDeriveKeyPBKDF2(hmac.get(), BcryptInput(passphrase.data()),
                                              static_cast<ULONG>(passphrase.size()), BcryptInput(salt.data()),
                                              static_cast<ULONG>(salt.size()), iterations, key->data(),
                                              static_cast<ULONG>(length), 0))) {
        return std::nullopt;
    }
    return key;
}

std::optional<std::vector<std::uint8_t>> SealAes256Gcm(std::span<const std::uint8_t> key,
                                                       std::span<const std::uint8_t> nonce,
                                                       std::span<const std::uint8_t> plaintext,
                                                       std::span<const std::uint8_t> associatedData) {
    if (!GcmSizesFit(nonce, plaintext, associatedData)) return std::nullopt;
    const GcmKey gcm = MakeGcmKey(key);
    if (!gcm.key) return std::nullopt;
    std::vector<std::uint8_t> sealed(plaintext.size() + kGcmTagSize);
    BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO info = GcmInfo(nonce, associatedData, sealed.data() + plaintext.size());
    ULONG written = 0;
    if (!BCRYPT_SUCCESS(BCryptEncrypt(gcm.key.get(), BcryptInput(plaintext.data()),
                                      static_cast<ULONG>(plaintext.size()), &info, nullptr, 0, sealed.data(),
                                      static_cast<ULONG>(plaintext.size()), &written, 0)) ||
        written != plaintext.size()) {
        return std::nullopt;
    }
    return sealed;
}

std::optional<SecretBytes> OpenAes256Gcm(std::span<const std::uint8_t> key, std::span<const std::uint8_t> nonce,
                                         std::span<const std::uint8_t> sealed,
                                         std::span<const std::uint8_t> associatedData) {
    if (sealed.size() < kGcmTagSize || !GcmSizesFit(nonce, sealed, associatedData)) return std::nullopt;
    const std::size_t length = sealed.size() - kGcmTagSize;
    const GcmKey gcm = MakeGcmKey(key);
    if (!gcm.key) return std::nullopt;
    SecretBytes plaintext{std::vector<std::uint8_t>(length)};
    BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO info =
        GcmInfo(nonce, associatedData, const_cast<std::uint8_t*>(sealed.data() + length));
    ULONG written = 0;
    // A tag that does not match gives STATUS_AUTH_TAG_MISMATCH.
    if (!BCRYPT_SUCCESS(BCryptDecrypt(gcm.key.get(), BcryptInput(sealed.data()), static_cast<ULONG>(length), &info,
                                      nullptr, 0, plaintext->data(), static_cast<ULONG>(length), &written, 0)) ||
        written != length) {
        return std::nullopt;
    }
    return plaintext;
}

}  // namespace orvika2
