#include "token/profile_config.h"

#include <algorithm>

#include "platform/secure_memory.h"

namespace orvika2 {
namespace {

constexpr std::array<std::uint8_t, 128> kKeyCodes = {
    // 0x00-0x1F: controls; only CR has a key (Enter).
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x28, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0x2C, 0x9E, 0xB4, 0xA0, 0xA1, 0xA2, 0xA4, 0x34, 0xA6, 0xA7, 0xA5, 0xAE, 0x36, 0x2D, 0x37, 0x38,
    0x27, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0xB3, 0x33, 0xB6, 0x2E, 0xB7, 0xB8,
    0x9F, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x8B, 0x8C, 0x8D, 0x8E, 0x8F, 0x90, 0x91, 0x92,
    // Backslash and '|' on usage 0x32 (non-US # and ~), as the token expects.
    0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0x9B, 0x9C, 0x9D, 0x2F, 0x32, 0x30, 0xA3, 0xAD,
    0x35, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11, 0x12,
    0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0xAF, 0xB2, 0xB0, 0xB5, 0,
};

constexpr int kDecodeBufferSize = 100;
constexpr std::size_t kMaxKeyTextLength = 152;  // capacity ((152 + 7) / 8) * 5 = 95 of 100

// 5-bit value of a Base32 character, or -1 outside the alphabet.
int Base32Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a';
    if (c >= '2' && c <= '7') return c - '2' + 26;
    switch (c) {
        case '0': return 'O' - 'A';
        case '1': return 'L' - 'A';
        case '8': return 'B' - 'A';
        default: return -1;
    }
}

bool IsBase32Separator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '-';
}

}  // namespace

ProfileConfig::~ProfileConfig() { SecureWipe(bytes.data(), bytes.size()); }

std::uint8_t KeyCodeFor(std::uint8_t character) {
    return character < kKeyCodes.size() ? kKeyCodes[character] : 0;
}

int DecodeBase32(std::string_view text, std::span<std::uint8_t> out) {
    const std::size_t capacity = out.size();
    std::size_t count = 0;
    unsigned bits = 0;
    int pending = 0;
    std::size_t next = 0;
    while (count < capacity) {
        if (next == text.size() || text[next] == '\0') {
            out[count] = 0;
            break;
        }
        const char c = text[next++];
        if (IsBase32Separator(c)) continue;
        const int value = Base32Value(c);
        if (value < 0) return -1;
        bits = (bits << 5) | static_cast<unsigned>(value);
        pending += 5;
        if (pending >= 8) {
            pending -= 8;
            out[count++] = static_cast<std::uint8_t>(bits >> pending);
            bits &= (1u << pending) - 1;
        }
    }
    return static_cast<int>(count);
}

ProfileConfig BuildTwoStepRecord(const std::array<std::uint8_t, kTwoStepSecretSize>& secret, bool requireTouch) {
    ProfileConfig record;
    std::copy_n(secret.begin(), ProfileConfig::kKeyBlockSize, record.keyBlock().begin());
    std::copy(secret.begin() + ProfileConfig::kKeyBlockSize, secret.end(), record.idBlock().begin());
    record.extendedFlags() = ProfileConfig::kExtSerialApiVisible;
    record.outputFlags() = ProfileConfig::kOutChallengeResponse;
    record.configFlags() = ProfileConfig::kCfgHmacChallenge;
    if (requireTouch) record.configFlags() |= ProfileConfig::kCfgRequireTouch;
    return record;
}

ProfileConfig BuildStaticRecord(std::string_view password) {
    // Codes 1-16, 17-22 and 23-38 lie in three consecutive blocks starting at
    // byte 0, so code i simply goes to byte i - 1.
    const std::size_t length = std::min(password.size(), kStaticPasswordMaxCodes);
    ProfileConfig record;
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint8_t code = KeyCodeFor(static_cast<std::uint8_t>(password[i]));
        if (code == 0) break;
        record.bytes[i] = code;
    }
    record.outputLength() = static_cast<std::uint8_t>(std::min(length, ProfileConfig::kOutputBlockSize));
    record.extendedFlags() = ProfileConfig::kExtSerialApiVisible;
    record.configFlags() = ProfileConfig::kCfgStatic;
    return record;
}

namespace {

struct DecodedKey {
    int refusalId = 0;
    TwoStepSecret secret;
};

DecodedKey DecodeKey(std::string_view keyText) {
    DecodedKey result;
    if (keyText.empty() || keyText.size() > kMaxKeyTextLength) {
        result.refusalId = IDS_ILLEGAL_SECRET_KEY;
        return result;
    }
    const std::size_t capacity = (keyText.size() + 7) / 8 * 5;
    Wiped<std::array<std::uint8_t, kDecodeBufferSize>> decoded;
    const int count = DecodeBase32(keyText, std::span(decoded.get()).first(capacity));
    if (count <= 0) {
        result.refusalId = IDS_ILLEGAL_SECRET_KEY;
    } else if (count > static_cast<int>(kTwoStepSecretSize)) {
        result.refusalId = IDS_KEY_TOO_LONG;
    } else {
        std::copy_n(decoded->begin(), kTwoStepSecretSize, result.secret->begin());
    }
    return result;
}

}  // namespace

int TwoStepKeyRefusal(std::string_view keyText) { return DecodeKey(keyText).refusalId; }

std::optional<TwoStepSecret> DecodeTwoStepSecret(std::string_view keyText) {
    DecodedKey decoded = DecodeKey(keyText);
    if (decoded.refusalId) return std::nullopt;
    return std::move(decoded.secret);
}

std::optional<ProfileConfig> BuildTwoStepRecordFromKey(std::string_view keyText, bool requireTouch) {
    const auto secret = DecodeTwoStepSecret(keyText);
    if (!secret) return std::nullopt;
    return BuildTwoStepRecord(secret->get(), requireTouch);
}

bool IsAsciiText(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
}

bool StaticPasswordTypable(std::wstring_view password) {
    return std::all_of(password.begin(), password.end(), [](wchar_t c) {
        const auto character = static_cast<std::uint32_t>(c);
        return character < 0x80 && KeyCodeFor(static_cast<std::uint8_t>(character)) != 0;
    });
}

}  // namespace orvika2
