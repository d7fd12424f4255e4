// The platform's crypto (libcrypto natively, BCrypt under Wine) against
// published vectors, and the sealed backup value built on it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base64.h"
#include "platform/crypto.h"
#include "platform/text.h"
#include "settings/sealed_backup.h"

namespace orvika2 {
namespace {

std::vector<std::uint8_t> FromHex(std::string_view hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

TEST(Crypto, Pbkdf2HmacSha256MatchesRfc7914) {
    const struct {
        std::string_view passphrase, salt;
        std::uint32_t iterations;
        std::string_view key;
    } cases[] = {
        {"passwd", "salt", 1,
         "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc49ca9cccf179b645991664b39d77ef317c71b845b1e30bd509112041d3a19783"},
        {"Password", "NaCl", 80000,
         "4ddcd8f60b98be21830cee5ef22701f9641a4418d04c0414aeff08876b34ab56a1d425a1225833549adb841b51c9b3176a272bdebba1d078478f62b397f33c8d"},
    };
    for (const auto& c : cases) {
        const auto key = Pbkdf2HmacSha256(Bytes(c.passphrase), Bytes(c.salt), c.iterations, 64);
        ASSERT_TRUE(key) << c.passphrase;
        EXPECT_EQ(key->get(), FromHex(c.key)) << c.passphrase;
    }
}

// The AES-256 cases of the GCM specification (McGrew and Viega, 13 to 16).
TEST(Crypto, Aes256GcmMatchesThePublishedCases) {
    const std::string_view key15 = "feffe9928665731c6d6a8f9467308308feffe9928665731c6d6a8f9467308308";
    const std::string_view plain15 =
        "d9313225f88406e5a55909c5aff5269a86a7a9531534f7da2e4c303d8a318a721c3c0c95956809532fcf0e2449a6b525b16aedf5aa0de657ba637b391aafd255";
    const std::string_view cipher15 =
        "522dc1f099567d07f47f37a32a84427d643a8cdcbfe5c0c97598a2bd2555d1aa8cb08e48590dbb3da7b08b1056828838c5f61e6393ba7a0abcc9f662898015ad";
    const std::string zeros(64, '0');
    const struct {
        std::string key, nonce, plaintext, aad, sealed;
    } cases[] = {
        {zeros, zeros.substr(0, 24), "", "", "530f8afbc74536b9a963b4f1c4cb738b"},
        {zeros, zeros.substr(0, 24), zeros.substr(0, 32), "",
         "cea7403d4d606b6e074ec5d3baf39d18d0d1c8a799996bf0265b98b5d48ab919"},
        {std::string(key15), "cafebabefacedbaddecaf888", std::string(plain15), "",
         std::string(cipher15) + "b094dac5d93471bdec1a502270e3cc6c"},
        {std::string(key15), "cafebabefacedbaddecaf888", std::string(plain15.substr(0, 120)), "feedfacedeadbeeffeedfacedeadbeefabaddad2",
         std::string(cipher15.substr(0, 120)) + "76fc6ece0f4e1768cddf8853bb2d551b"},
    };
    for (const auto& c : cases) {
        const auto key = FromHex(c.key), nonce = FromHex(c.nonce), aad = FromHex(c.aad);
        const auto sealed = SealAes256Gcm(key, nonce, FromHex(c.plaintext), aad);
        ASSERT_TRUE(sealed) << c.sealed;
        EXPECT_EQ(*sealed, FromHex(c.sealed));
        if (c.plaintext.empty()) continue;  // the backup never seals an empty key
        const auto opened = OpenAes256Gcm(key, nonce, *sealed, aad);
        ASSERT_TRUE(opened) << c.sealed;
        EXPECT_EQ(opened->get(), FromHex(c.plaintext));
        // Any changed byte of the sealed text, the tag or the associated data.
        for (std::size_t at : {std::size_t{0}, sealed->size() - 1}) {
            auto changed = *sealed;
            changed[at] ^= 0x01;
            EXPECT_FALSE(OpenAes256Gcm(key, nonce, changed, aad)) << at;
        }
        auto otherAad = aad;
        otherAad.push_back(0);
        EXPECT_FALSE(OpenAes256Gcm(key, nonce, *sealed, otherAad));
    }
}

TEST(Base64, StandardAlphabetWithPaddingAndOnlyTheCanonicalSpelling) {
    const std::pair<std::string_view, std::string_view> vectors[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"}, {"\xfb\xff", "+/8="}};
    for (const auto& [plain, encoded] : vectors) {
        EXPECT_EQ(EncodeBase64(Bytes(plain)), encoded);
        EXPECT_EQ(DecodeBase64(encoded), Bytes(plain)) << encoded;
    }
    for (const std::string_view refused : {"Zg=", "Zg", "Zh==", "Zm9=", "Zg==Zg==", "Z===", "Zm9v\n", "Zm 9", "Zm-_"}) {
        EXPECT_FALSE(DecodeBase64(refused)) << refused;
    }
}

// The value's fields, to change one at a time.
std::vector<std::string> Fields(const std::wstring& value) {
    std::vector<std::string> fields;
    std::string text = NarrowUtf8(value);
    for (std::size_t at; (at = text.find(':')) != std::string::npos; text.erase(0, at + 1)) {
        fields.push_back(text.substr(0, at));
    }
    fields.push_back(text);
    return fields;
}

std::wstring Joined(const std::vector<std::string>& fields) {
    std::string text;
    for (const auto& field : fields) text += (text.empty() ? "" : ":") + field;
    return WidenUtf8(text);
}

TEST(SealedBackup, OpensOnlyWithItsPassphraseModeAndAccount) {
    const SealedFields fields{L"OTP", L"Google"};
    const auto sealed = SealBackupKey(L"GEZDGNBV-GY3TQOJQ", fields, "correct horse", kSealIterationsMin);
    ASSERT_TRUE(sealed);
    const auto parts = Fields(*sealed);
    ASSERT_EQ(parts.size(), 6u);
    EXPECT_EQ(parts[0] + ":" + parts[1] + ":" + parts[2], "v1:PBKDF2-SHA256:100000");
    EXPECT_EQ(DecodeBase64(parts[3])->size(), 16u);
    EXPECT_EQ(DecodeBase64(parts[4])->size(), 12u);
    EXPECT_EQ(DecodeBase64(parts[5])->size(), 17u + 16u);

    const auto opened = UnsealBackupKey(*sealed, fields, "correct horse");
    EXPECT_EQ(opened.result, UnsealResult::Opened);
    EXPECT_EQ(opened.key.get(), L"GEZDGNBV-GY3TQOJQ");
    // Salt and nonce are new for every save.
    EXPECT_NE(Fields(*SealBackupKey(L"GEZDGNBV-GY3TQOJQ", fields, "correct horse", kSealIterationsMin))[3], parts[3]);

    const auto wrong = UnsealResult::WrongPassphraseOrDamaged;
    EXPECT_EQ(UnsealBackupKey(*sealed, fields, "correct horsE").result, wrong);
    EXPECT_EQ(UnsealBackupKey(*sealed, {L"STATIC", L"Google"}, "correct horse").result, wrong);
    EXPECT_EQ(UnsealBackupKey(*sealed, {L"OTP", L"Dropbox"}, "correct horse").result, wrong);
    const auto changed = [&](std::size_t field, std::string value) {
        auto copy = parts;
        copy[field] = std::move(value);
        return UnsealBackupKey(Joined(copy), fields, "correct horse").result;
    };
    EXPECT_EQ(changed(2, "100001"), wrong);
    // Every sealed byte counts, and so do the salt's and the nonce's.
    for (std::size_t field = 3; field < 6; ++field) {
        const auto bytes = *DecodeBase64(parts[field]);
        const std::size_t step = field == 5 ? 1 : bytes.size() - 1;
        for (std::size_t at = 0; at < bytes.size(); at += step) {
            auto flipped = bytes;
            flipped[at] ^= 0x80;
            EXPECT_EQ(changed(field, EncodeBase64(flipped)), wrong) << "field " << field << " byte " << at;
        }
    }
    const auto invalid = UnsealResult::Invalid;
    EXPECT_EQ(changed(0, "v2"), invalid);
    EXPECT_EQ(changed(1, "PBKDF2-SHA1"), invalid);
    for (const char* iterations : {"99999", "10000001", "0100000", "+100000", "", "1e6"}) {
        EXPECT_EQ(changed(2, iterations), invalid) << iterations;
    }
    EXPECT_EQ(changed(3, EncodeBase64(std::vector<std::uint8_t>(15))), invalid);
    EXPECT_EQ(changed(4, EncodeBase64(std::vector<std::uint8_t>(16))), invalid);
    EXPECT_EQ(changed(5, EncodeBase64(std::vector<std::uint8_t>(16))), invalid);
    EXPECT_EQ(changed(5, parts[5] + "="), invalid);
    EXPECT_EQ(UnsealBackupKey(*sealed + L":x", fields, "correct horse").result, invalid);
    EXPECT_EQ(UnsealBackupKey(L"", fields, "correct horse").result, invalid);
}

// The example of docs/backup-format.md, sealed by a program of its own.
TEST(SealedBackup, OpensTheDocumentedExample) {
    const auto opened = UnsealBackupKey(
        L"v1:PBKDF2-SHA256:600000:AAECAwQFBgcICQoLDA0ODw==:AAECAwQFBgcICQoL:YIyYGrqDr3CT3ZyEfmnepF48ig6va9bbIWjnMzRnyQQ=",
        {L"OTP", L"Google"}, "correct horse battery");
    EXPECT_EQ(opened.result, UnsealResult::Opened);
    EXPECT_EQ(opened.key.get(), L"JBSWY3DPEHPK3PXP");
}

TEST(SealedBackup, WritesTheDefaultIterationsAndKeepsEveryCharacter) {
    // Non-ASCII in the key, the account and the passphrase travel as UTF-8.
    const SealedFields fields{L"STATIC", L"\u5e33\u6236"};
    const auto sealed = SealBackupKey(L"p\u00e4ss-w\u00f6rd", fields, "p\xc3\xa4ssphrase\xf0\x9f\x94\x91");
    ASSERT_TRUE(sealed);
    EXPECT_EQ(Fields(*sealed)[2], "600000");
    const auto opened = UnsealBackupKey(*sealed, fields, "p\xc3\xa4ssphrase\xf0\x9f\x94\x91");
    EXPECT_EQ(opened.result, UnsealResult::Opened);
    EXPECT_EQ(opened.key.get(), L"p\u00e4ss-w\u00f6rd");
}

}  // namespace
}  // namespace orvika2
