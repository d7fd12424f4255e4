#include <openssl/evp.h>

#include <limits>
#include <memory>

#include "platform/crypto.h"

namespace orvika2 {
namespace {

struct CipherContextFree {
    void operator()(EVP_CIPHER_CTX* context) const { EVP_CIPHER_CTX_free(context); }
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree>;

// libcrypto wants a valid pointer even for no bytes.
const unsigned char* Bytes(std::span<const std::uint8_t> bytes) {
    static constexpr unsigned char kNothing = 0;
    return bytes.empty() ? &kNothing : bytes.data();
}

bool FitsInt(std::size_t size) { return size <= static_cast<std::size_t>(std::numeric_limits<int>::max()); }

// A GCM context with key and nonce; encrypting or decrypting.
CipherContext StartGcm(std::span<const std::uint8_t> key, std::span<const std::uint8_t> nonce, bool encrypt,
                       std::span<const std::uint8_t> associatedData) {
    if (key.size() != kAes256KeySize || nonce.size() != kGcmNonceSize || !FitsInt(associatedData.size())) {
        return nullptr;
    }
    CipherContext context(EVP_CIPHER_CTX_new());
    if (!context) return nullptr;
    const int enc = encrypt ? 1 : 0;
    int ignored = 0;
    if (EVP_CipherInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr, enc) != 1 ||
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_IVLEN, static_cast<int>(nonce.size()), nullptr) != 1 ||
        EVP_CipherInit_ex(context.get(), nullptr, nullptr, key.data(), nonce.data(), enc) != 1 ||
        EVP_CipherUpdate(context.get(), nullptr, &ignored, Bytes(associatedData),
                         static_cast<int>(associatedData.size())) != 1) {
        return nullptr;
    }
    return context;
}

}  // namespace

std::optional<SecretBytes> Pbkdf2HmacSha256(std::span<const std::uint8_t> passphrase,
                                            std::span<const std::uint8_t> salt, std::uint32_t iterations,
                                            std::size_t length) {
    if (iterations == 0 || iterations > static_cast<std::uint32_t>(std::numeric_limits<int>::max()) ||
        !FitsInt(passphrase.size()) || !FitsInt(salt.size()) || !FitsInt(length)) {
        return std::nullopt;
    }
    SecretBytes key{std::vector<std::uint8_t>(length)};
    if (PKCS5_PBKDF2_HMAC(reinterpret_cast<const char*>(Bytes(passphrase)), static_cast<int>(passphrase.size()),
                          Bytes(salt), static_cast<int>(salt.size()), static_cast<int>(iterations), EVP_sha256(),
                          static_cast<int>(length), key->data()) != 1) {
        return std::nullopt;
    }
    return key;
}

std::optional<std::vector<std::uint8_t>> SealAes256Gcm(std::span<const std::uint8_t> key,
                                                       std::span<const std::uint8_t> nonce,
                                                       std::span<const std::uint8_t> plaintext,
                                                       std::span<const std::uint8_t> associatedData) {
    if (!FitsInt(plaintext.size())) return std::nullopt;
    const CipherContext context = StartGcm(key, nonce, true, associatedData);
    if (!context) return std::nullopt;
    std::vector<std::uint8_t> sealed(plaintext.size() + kGcmTagSize);
    int written = 0;
    int finished = 0;
    if (EVP_CipherUpdate(context.get(), sealed.data(), &written, Bytes(plaintext),
                         static_cast<int>(plaintext.size())) != 1 ||
        EVP_CipherFinal_ex(context.get(), sealed.data() + written, &finished) != 1 ||
        static_cast<std::size_t>(written + finished) != plaintext.size() ||
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_GET_TAG, static_cast<int>(kGcmTagSize),
                            sealed.data() + plaintext.size()) != 1) {
        return std::nullopt;
    }
    return sealed;
}

std::optional<SecretBytes> OpenAes256Gcm(std::span<const std::uint8_t> key, std::span<const std::uint8_t> nonce,
                                         std::span<const std::uint8_t> sealed,
                                         std::span<const std::uint8_t> associatedData) {
    if (sealed.size() < kGcmTagSize || !FitsInt(sealed.size())) return std::nullopt;
    const std::size_t length = sealed.size() - kGcmTagSize;
    const CipherContext context = StartGcm(key, nonce, false, associatedData);
    if (!context) return std::nullopt;
    SecretBytes plaintext{std::vector<std::uint8_t>(length)};
    int written = 0;
    int finished = 0;
    // The tag is only read, though the call's signature does not say so.
    auto* tag = const_cast<std::uint8_t*>(sealed.data() + length);
    // A zero-length update still needs somewhere to point.
    std::uint8_t spare = 0;
    std::uint8_t* out = length ? plaintext->data() : &spare;
    if (EVP_CipherUpdate(context.get(), out, &written, Bytes(sealed), static_cast<int>(length)) != 1 ||
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_TAG, static_cast<int>(kGcmTagSize), tag) != 1 ||
        EVP_CipherFinal_ex(context.get(), out + written, &finished) != 1) {
        return std::nullopt;
    }
    return plaintext;
}

}  // namespace orvika2
