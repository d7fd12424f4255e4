#include "settings/sealed_backup.h"

#include <array>
#include <charconv>
#include <vector>

#include "platform/base64.h"
#include "platform/crypto.h"
#include "platform/random_source.h"
#include "platform/text.h"

namespace orvika2 {
namespace {

constexpr std::string_view kVersion = "v1";
constexpr std::string_view kDerivation = "PBKDF2-SHA256";
constexpr std::size_t kFieldCount = 6;

std::span<const std::uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Mode, one LF, account, and with a shape one LF, digits, one LF, period:
// UTF-8, as the file holds them.
std::string AssociatedData(const SealedFields& fields) {
    std::string data = NarrowUtf8(fields.mode) + '\n' + NarrowUtf8(fields.account);
    if (fields.withShape) data += '\n' + NarrowUtf8(fields.digits) + '\n' + NarrowUtf8(fields.period);
    return data;
}

std::optional<SecretBytes> DeriveKey(std::string_view passphrase, std::span<const std::uint8_t> salt,
                                     std::uint32_t iterations) {
    return Pbkdf2HmacSha256(Bytes(passphrase), salt, iterations, kAes256KeySize);
}

// The six colon-separated fields, or none when there are more or fewer.
std::optional<std::array<std::string_view, kFieldCount>> SplitFields(std::string_view value) {
    std::array<std::string_view, kFieldCount> fields;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const auto colon = value.find(':');
        if ((colon == std::string_view::npos) != (i + 1 == kFieldCount)) return std::nullopt;
        fields[i] = value.substr(0, colon);
        value.remove_prefix(colon == std::string_view::npos ? value.size() : colon + 1);
    }
    return fields;
}

// Plain decimal digits only: no sign, no blanks, no leading zero.
std::optional<std::uint32_t> ParseIterations(std::string_view text) {
    if (text.empty() || text.size() > 9 || text.front() == '0' ||
        text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (value < kSealIterationsMin || value > kSealIterationsMax) return std::nullopt;
    return value;
}

bool IsAscii(std::wstring_view text) {
    for (const wchar_t c : text) {
        if (static_cast<std::uint32_t>(c) >= 0x80) return false;
    }
    return true;
}


}  // namespace

std::optional<std::wstring> SealBackupKey(std::wstring_view key, const SealedFields& fields,
                                          std::string_view passphraseUtf8, std::uint32_t iterations) {
    std::array<std::uint8_t, kSealSaltSize> salt{};
    std::array<std::uint8_t, kGcmNonceSize> nonce{};
    if (!FillRandom(salt) || !FillRandom(nonce)) return std::nullopt;
    const auto aesKey = DeriveKey(passphraseUtf8, salt, iterations);
    if (!aesKey) return std::nullopt;
    const SecretString plaintext(NarrowUtf8(key));
    const auto sealed = SealAes256Gcm(aesKey->get(), nonce, Bytes(plaintext.get()), Bytes(AssociatedData(fields)));
    if (!sealed) return std::nullopt;
    return FormatSealedValue({iterations, {salt.begin(), salt.end()}, {nonce.begin(), nonce.end()}, *sealed});
}

std::wstring FormatSealedValue(const SealedParts& parts) {
    const std::string value = std::string(kVersion) + ':' + std::string(kDerivation) + ':' +
                              std::to_string(parts.iterations) + ':' + EncodeBase64(parts.salt) + ':' +
                              EncodeBase64(parts.nonce) + ':' + EncodeBase64(parts.sealed);
    return WidenUtf8(value);
}

std::optional<SealedParts> ParseSealedValue(std::wstring_view sealedValue) {
    if (sealedValue.size() > kSealedValueMax || !IsAscii(sealedValue)) return std::nullopt;
    const std::string value = NarrowUtf8(sealedValue);
    const auto fields = SplitFields(value);
    if (!fields || (*fields)[0] != kVersion || (*fields)[1] != kDerivation) return std::nullopt;
    const auto iterations = ParseIterations((*fields)[2]);
    auto salt = DecodeBase64((*fields)[3]);
    auto nonce = DecodeBase64((*fields)[4]);
    auto sealed = DecodeBase64((*fields)[5]);
    if (!iterations || !salt || salt->size() != kSealSaltSize || !nonce || nonce->size() != kGcmNonceSize ||
        !sealed || sealed->size() <= kGcmTagSize) {
        return std::nullopt;
    }
    return SealedParts{*iterations, std::move(*salt), std::move(*nonce), std::move(*sealed)};
}

UnsealedKey UnsealBackupKey(std::wstring_view sealedValue, const SealedFields& fields,
                            std::string_view passphraseUtf8) {
    UnsealedKey invalid;
    const auto parts = ParseSealedValue(sealedValue);
    if (!parts) return invalid;
    const auto aesKey = DeriveKey(passphraseUtf8, parts->salt, parts->iterations);
    if (!aesKey) return invalid;
    const auto opened = OpenAes256Gcm(aesKey->get(), parts->nonce, parts->sealed, Bytes(AssociatedData(fields)));
    if (!opened) return {UnsealResult::WrongPassphraseOrDamaged, {}};
    const std::string_view text(reinterpret_cast<const char*>(opened->get().data()), opened->get().size());
    SecretWString key(WidenUtf8(text));
    // Only valid UTF-8 comes back unchanged from the round trip.
    if (const SecretString again(NarrowUtf8(key.get())); again.get() != text) return invalid;
    return {UnsealResult::Opened, std::move(key)};
}

}  // namespace orvika2
