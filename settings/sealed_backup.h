#pragma once
// The "Sealed" value of a passphrase-protected backup:
//   v1:PBKDF2-SHA256:ITERATIONS:SALT:NONCE:SEALED
// AES-256-GCM under a PBKDF2-HMAC-SHA256 key of the passphrase; the
// associated data binds the file's mode and account to the sealed key.
// docs/backup-format.md describes it for other readers.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/secure_memory.h"

namespace orvika2 {

inline constexpr std::uint32_t kSealIterations = 600000;
inline constexpr std::uint32_t kSealIterationsMin = 100000;
inline constexpr std::uint32_t kSealIterationsMax = 10000000;
inline constexpr std::size_t kSealSaltSize = 16;
// The longest "Sealed" value a reader takes: what a key of 1,024 bytes
// seals to, far beyond any key or password the token holds.
inline constexpr std::size_t kSealedValueMax = 1500;

// What the seal binds besides the key: the file's values as they read.
// The code shape is bound only when the file has "Digits" or "Period", so a
// backup sealed before those keys existed opens as it always did.
struct SealedFields {
    std::wstring_view mode;
    std::wstring_view account;
    bool withShape = false;
    std::wstring_view digits;
    std::wstring_view period;
};

// The value for a key text (the plain backup's "Key"); nullopt when the
// platform's random source or crypto failed.
std::optional<std::wstring> SealBackupKey(std::wstring_view key, const SealedFields& fields,
                                          std::string_view passphraseUtf8,
                                          std::uint32_t iterations = kSealIterations);

// The fields of a value in its one canonical spelling; nullopt for anything
// else, and for iterations outside [kSealIterationsMin, kSealIterationsMax].
struct SealedParts {
    std::uint32_t iterations = 0;
    std::vector<std::uint8_t> salt;    // 16 bytes
    std::vector<std::uint8_t> nonce;   // 12 bytes
    std::vector<std::uint8_t> sealed;  // ciphertext of at least one byte, then the tag
};
std::optional<SealedParts> ParseSealedValue(std::wstring_view value);
std::wstring FormatSealedValue(const SealedParts& parts);

enum class UnsealResult {
    Opened,
    // The tag does not match: another passphrase, or a changed file.
    WrongPassphraseOrDamaged,
    // Not a value of this form, or outside its limits.
    Invalid,
};
struct UnsealedKey {
    UnsealResult result = UnsealResult::Invalid;
    SecretWString key;
};
UnsealedKey UnsealBackupKey(std::wstring_view sealed, const SealedFields& fields, std::string_view passphraseUtf8);

}  // namespace orvika2
