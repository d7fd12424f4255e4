#pragma once
// Key derivation and authenticated encryption from the platform's crypto
// library: libcrypto on Linux, BCrypt on Windows. Nothing here is our own
// cryptography; the functions only adapt the two libraries to one shape.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/secure_memory.h"

namespace orvika2 {

inline constexpr std::size_t kAes256KeySize = 32;
inline constexpr std::size_t kGcmNonceSize = 12;
inline constexpr std::size_t kGcmTagSize = 16;

// PBKDF2 with HMAC-SHA256 (RFC 8018); nullopt when the library refuses.
std::optional<SecretBytes> Pbkdf2HmacSha256(std::span<const std::uint8_t> passphrase,
                                            std::span<const std::uint8_t> salt, std::uint32_t iterations,
                                            std::size_t length);

// AES-256-GCM with a 12-byte nonce: the ciphertext followed by the 16-byte
// tag; nullopt when the library refuses or a size is wrong.
std::optional<std::vector<std::uint8_t>> SealAes256Gcm(std::span<const std::uint8_t> key,
                                                       std::span<const std::uint8_t> nonce,
                                                       std::span<const std::uint8_t> plaintext,
                                                       std::span<const std::uint8_t> associatedData);

// The plaintext, or nullopt when the tag does not match the key, nonce,
// ciphertext and associated data.
std::optional<SecretBytes> OpenAes256Gcm(std::span<const std::uint8_t> key, std::span<const std::uint8_t> nonce,
                                         std::span<const std::uint8_t> sealed,
                                         std::span<const std::uint8_t> associatedData);

}  // namespace orvika2
