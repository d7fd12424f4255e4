#pragma once
// The 52-byte profile record the token is configured with, the lenient Base32
// decoder for secret keys and the key codes of static passwords.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/secure_memory.h"
#include "resources/string_ids.h"

namespace orvika2 {

inline constexpr std::size_t kProfileConfigSize = 52;
inline constexpr std::size_t kAccessCodeSize = 6;
inline constexpr std::size_t kTwoStepSecretSize = 20;
inline constexpr std::size_t kStaticPasswordMaxCodes = 38;

// Byte layout; multi-byte values little-endian. The record may hold a secret
// or a password, so every copy wipes itself when it goes.
struct ProfileConfig {
    static constexpr std::size_t kOutputBlock = 0;    // key codes 1-16
    static constexpr std::size_t kOutputBlockSize = 16;
    static constexpr std::size_t kIdBlock = 16;       // key codes 17-22, secret bytes 16-19
    static constexpr std::size_t kIdBlockSize = 6;
    static constexpr std::size_t kKeyBlock = 22;      // key codes 23-38, secret bytes 0-15
    static constexpr std::size_t kKeyBlockSize = 16;
    static constexpr std::size_t kAccessCode = 38;
    static constexpr std::size_t kOutputLength = 44;
    static constexpr std::size_t kExtendedFlags = 45;
    static constexpr std::size_t kOutputFlags = 46;
    static constexpr std::size_t kConfigFlags = 47;
    static constexpr std::size_t kChecksum = 50;      // filled in by WriteConfig

    static constexpr std::uint8_t kExtSerialApiVisible = 0x04;
    static constexpr std::uint8_t kOutChallengeResponse = 0x40;
    static constexpr std::uint8_t kCfgStatic = 0x02;
    static constexpr std::uint8_t kCfgHmacChallenge = 0x26;
    static constexpr std::uint8_t kCfgRequireTouch = 0x08;

    std::array<std::uint8_t, kProfileConfigSize> bytes{};

    ProfileConfig() = default;
    ProfileConfig(const ProfileConfig&) = default;
    ProfileConfig& operator=(const ProfileConfig&) = default;
    ~ProfileConfig();

    std::span<std::uint8_t, kOutputBlockSize> outputBlock() { return block<kOutputBlock, kOutputBlockSize>(); }
    std::span<std::uint8_t, kIdBlockSize> idBlock() { return block<kIdBlock, kIdBlockSize>(); }
    std::span<std::uint8_t, kKeyBlockSize> keyBlock() { return block<kKeyBlock, kKeyBlockSize>(); }
    std::span<std::uint8_t, kAccessCodeSize> accessCode() { return block<kAccessCode, kAccessCodeSize>(); }
    std::uint8_t& outputLength() { return bytes[kOutputLength]; }
    std::uint8_t& extendedFlags() { return bytes[kExtendedFlags]; }
    std::uint8_t& outputFlags() { return bytes[kOutputFlags]; }
    std::uint8_t& configFlags() { return bytes[kConfigFlags]; }

private:
    template <std::size_t Offset, std::size_t Size>
    std::span<std::uint8_t, Size> block() {
        return std::span<std::uint8_t, kProfileConfigSize>(bytes).subspan<Offset, Size>();
    }
};

// The token's current access code, appended to every configuration write.
// The system never protects a profile, so it is always zero.
struct AccessCode {
    std::array<std::uint8_t, kAccessCodeSize> bytes{};
};

// USB HID usage of the key typing the character on a US keyboard, plus 0x80
// for Shift; 0 for a character with no key (controls other than CR, DEL and
// everything above 0x7F).
std::uint8_t KeyCodeFor(std::uint8_t character);

// Decodes Base32 (upper or lower case; 0, 1 and 8 read as O, L and B; blanks,
// tabs, line breaks and '-' skipped) into `out`, whose size is the capacity.
// The text ends at its end or at a zero byte; on a zero byte a terminating
// zero is written when there is room. Decoding stops once `out` is full
// without looking at the rest. Returns the bytes written, or -1 at the first
// character outside the alphabet ('=' and '9' included).
int DecodeBase32(std::string_view text, std::span<std::uint8_t> out);

ProfileConfig BuildTwoStepRecord(const std::array<std::uint8_t, kTwoStepSecretSize>& secret, bool requireTouch);

// `password` is 8-bit text of 4 to 38 characters; characters past the 38th
// do not fit a record and are dropped. The first character without a key
// code ends the stored codes, while the output length still counts it.
ProfileConfig BuildStaticRecord(std::string_view password);

using TwoStepSecret = Wiped<std::array<std::uint8_t, kTwoStepSecretSize>>;

// The secret of a key text as the page has it, in 8-bit characters: the
// decoding capacity follows from its length, and a key of fewer than 20
// bytes is zero-filled. Empty when the key cannot be used: empty, longer
// than 152 characters, not Base32, too short to give one byte, or longer
// than the 20 bytes the token holds, since a cut key gives codes no server
// accepts.
std::optional<TwoStepSecret> DecodeTwoStepSecret(std::string_view keyText);
// Why DecodeTwoStepSecret gives nothing: "Illegal secret key", or its own
// message for a key longer than the token holds; 0 for a usable key.
int TwoStepKeyRefusal(std::string_view keyText);
std::optional<ProfileConfig> BuildTwoStepRecordFromKey(std::string_view keyText, bool requireTouch);

// Whether every character is 7-bit ASCII. A key text must be, before it is
// turned into 8-bit text: a code-page conversion could otherwise map, say,
// fullwidth letters to ASCII letters and accept a key the user did not type.
bool IsAsciiText(std::wstring_view text);

// Whether the key-code table has a key for every character of the password.
// The record ends at the first character without one, and a character above
// 0x7F may not even be one byte in 8-bit form, so such a password is refused
// rather than stored as keys the user did not type. CR is typed as Enter.
bool StaticPasswordTypable(std::wstring_view password);

}  // namespace orvika2
