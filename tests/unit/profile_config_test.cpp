#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/text.h"
#include "token/profile_config.h"

namespace orvika2 {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Decodes with the capacity the page uses for a text of that length.
int Decode(std::string_view text, Bytes& out) {
    out.assign((text.size() + 7) / 8 * 5, 0xAA);
    const int count = DecodeBase32(text, out);
    out.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
    return count;
}

Bytes BytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

TEST(DecodeBase32, Rfc4648VectorsWithoutFillInBothCasesAndWithSeparators) {
    const struct {
        std::string_view text;
        std::string_view plain;
    } cases[] = {
        {"MZXW6YTB", "fooba"},
        {"mzxw6ytb", "fooba"},
        {"MZXW-6YTB", "fooba"},
        {" mzxw 6ytb\r\n", "fooba"},
        {"M\tZ-X W\n6-Y T\rB", "fooba"},
        // The same vectors with their fill removed: leftover bits are dropped.
        {"MY", "f"},
        {"MZXQ", "fo"},
        {"MZXW6", "foo"},
        {"mzxw6yq", "foob"},
        {"MZXW6YTBOI", "foobar"},
        {"GEZDGNBVGY3TQOJQ GEZDGNBVGY3TQOJQ", "12345678901234567890"},
    };
    for (const auto& c : cases) {
        Bytes out;
        EXPECT_EQ(Decode(c.text, out), static_cast<int>(c.plain.size())) << c.text;
        EXPECT_EQ(out, BytesOf(c.plain)) << c.text;
    }
}

TEST(DecodeBase32, RefusesFillCharactersNineAndAnythingOutsideTheAlphabet) {
    for (std::string_view text : {"MY======", "MZXQ====", "MZXW6===", "MZXW6YQ=", "MZXW6YTBOI======", "MZXW9YTB",
                                  "9", "MZXW6YTB!", "MZ_XW", "MZXW6YTB\xC3\xA9", "MZ.XW"}) {
        Bytes out;
        EXPECT_EQ(Decode(text, out), -1) << text;
    }
}

TEST(DecodeBase32, ReadsZeroOneAndEightAsOLAndB) {
    Bytes digits, letters;
    ASSERT_EQ(Decode("01810818", digits), 5);
    ASSERT_EQ(Decode("OLBLOBLB", letters), 5);
    EXPECT_EQ(digits, letters);
}

TEST(DecodeBase32, NothingDecodableGivesZero) {
    for (std::string_view text : {"", "A", "7", " - \t", "a-\r\n"}) {
        Bytes out;
        EXPECT_EQ(Decode(text, out), 0) << '"' << text << '"';
    }
    std::array<std::uint8_t, 4> buffer{};
    EXPECT_EQ(DecodeBase32("MZXW6YTB", std::span(buffer).first(0)), 0);
    EXPECT_EQ(DecodeBase32("!!", std::span(buffer).first(0)), 0);
}

TEST(DecodeBase32, StopsAtAZeroByteAndTerminatesWhenThereIsRoom) {
    std::array<std::uint8_t, 8> buffer;
    buffer.fill(0xAA);
    const std::string_view text("MZXW6\0!!!", 9);
    EXPECT_EQ(DecodeBase32(text, std::span(buffer).first(5)), 3);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.end()), (Bytes{'f', 'o', 'o', 0, 0xAA, 0xAA, 0xAA, 0xAA}));

    // A full buffer gets no terminator.
    buffer.fill(0xAA);
    EXPECT_EQ(DecodeBase32("MZXW6", std::span(buffer).first(3)), 3);
    EXPECT_EQ(buffer[3], 0xAA);
}

TEST(DecodeBase32, StopsReadingOnceTheCapacityIsReached) {
    std::array<std::uint8_t, 8> buffer;
    buffer.fill(0xAA);
    // The '9' after the fifth byte is never looked at.
    EXPECT_EQ(DecodeBase32("MZXW6YTB9", std::span(buffer).first(2)), 2);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 3), (Bytes{'f', 'o', 0xAA}));
    EXPECT_EQ(DecodeBase32("MZXW6YTB9", std::span(buffer).first(5)), 5);
}

Bytes TwoStepLayout(std::string_view secret, std::uint8_t configFlags) {
    Bytes expected(kProfileConfigSize, 0);
    for (std::size_t i = 0; i < secret.size() && i < 16; ++i) expected[22 + i] = static_cast<std::uint8_t>(secret[i]);
    for (std::size_t i = 16; i < secret.size() && i < 20; ++i) expected[i] = static_cast<std::uint8_t>(secret[i]);
    expected[45] = 0x04;
    expected[46] = 0x40;
    expected[47] = configFlags;
    return expected;
}

Bytes RecordBytes(const ProfileConfig& record) { return Bytes(record.bytes.begin(), record.bytes.end()); }

TEST(TwoStepRecord, KeysOfUpToTwentyBytesAreLaidOutByteExactly) {
    const struct {
        std::string_view key;
        std::string_view secret;  // what lands in the record
    } cases[] = {
        {"GEZDGNBVGY3TQOJQ", "1234567890"},
        {"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ", "12345678901234567890"},
        {"gezd gnbv gy3t qojq gezd gnbv gy3t qojq", "12345678901234567890"},
        // 165 bits: the five left over make no byte.
        {"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQG", "12345678901234567890"},
    };
    for (const auto& c : cases) {
        for (const bool touch : {false, true}) {
            const auto record = BuildTwoStepRecordFromKey(c.key, touch);
            ASSERT_TRUE(record) << c.key;
            EXPECT_EQ(RecordBytes(*record), TwoStepLayout(c.secret, touch ? 0x2E : 0x26)) << c.key;
        }
    }
}

TEST(TwoStepRecord, UnusableKeysGiveNoRecord) {
    const std::string longest = std::string(32, 'A') + std::string(120, ' ');
    EXPECT_TRUE(BuildTwoStepRecordFromKey(longest, false));
    // 21, 25 and 32 bytes: more than the token holds.
    for (const std::string& key : {std::string(34, 'A'), std::string(40, 'A'), std::string(52, 'A'),
                                   std::string(153, ' ') + "AAAAAAAA", std::string(), std::string("A"),
                                   std::string("  --  "), std::string("MZXW6YQ="), std::string("GEZDGNBV9Y3TQOJQ")}) {
        EXPECT_FALSE(BuildTwoStepRecordFromKey(key, false)) << key;
    }
}

TEST(KeyCodes, LookUpCharactersAndRefuseThoseWithoutAKey) {
    const struct {
        std::uint8_t character;
        std::uint8_t code;
    } cases[] = {
        {'A', 0x84}, {'a', 0x04}, {'1', 0x1E}, {'!', 0x9E}, {'\\', 0x32}, {'|', 0xB2}, {'0', 0x27},
        {' ', 0x2C}, {'~', 0xB5}, {'@', 0x9F}, {'\r', 0x28}, {'\t', 0},   {'\n', 0},    {0x7F, 0},
        {0x80, 0},   {0xE9, 0},   {0xFF, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(KeyCodeFor(c.character), c.code) << int(c.character);
}

// Letters only, so the expected codes follow without the table: a-z are
// usages 0x04-0x1D, A-Z the same with Shift.
constexpr std::string_view kLetters38 = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKL";

std::uint8_t LetterCode(std::size_t index) {
    return static_cast<std::uint8_t>(index < 26 ? 0x04 + index : 0x84 + (index - 26));
}

TEST(StaticRecord, PasswordsOfEveryBlockBoundaryAreLaidOutByteExactly) {
    for (const std::size_t length : {4u, 16u, 20u, 22u, 23u, 38u}) {
        Bytes expected(kProfileConfigSize, 0);
        for (std::size_t i = 0; i < length; ++i) expected[i] = LetterCode(i);
        expected[44] = static_cast<std::uint8_t>(std::min<std::size_t>(length, 16));
        expected[45] = 0x04;
        expected[47] = 0x02;
        EXPECT_EQ(RecordBytes(BuildStaticRecord(kLetters38.substr(0, length))), expected) << length;
    }
}

TEST(StaticRecord, EnterIsStoredAndAKeylessCharacterEndsTheCodes) {
    const struct {
        std::string_view password;
        Bytes codes;  // bytes 0-5
    } cases[] = {
        {"ab\rcde", {0x04, 0x05, 0x28, 0x06, 0x07, 0x08}},
        {"ab\tcde", {0x04, 0x05, 0, 0, 0, 0}},
        {"abc\xE9" "de", {0x04, 0x05, 0x06, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        const Bytes record = RecordBytes(BuildStaticRecord(c.password));
        EXPECT_EQ(Bytes(record.begin(), record.begin() + 6), c.codes);
        EXPECT_EQ(record[44], 6);
    }
}

TEST(StaticRecord, ALongerPasswordIsCutToWhatARecordHolds) {
    const std::string password = std::string(kLetters38) + "MNOPQRST";
    EXPECT_EQ(RecordBytes(BuildStaticRecord(password)), RecordBytes(BuildStaticRecord(kLetters38)));
}

TEST(TextChecks, OnlyAsciiKeysAndTypablePasswordsPass) {
    EXPECT_TRUE(IsAsciiText(L"GEZD GNBV-gy3t\t"));
    EXPECT_FALSE(IsAsciiText(L"\xFF27\xFF25\xFF3A\xFF24"));  // fullwidth GEZD
    EXPECT_FALSE(IsAsciiText(L"GEZD\x00E9"));
    EXPECT_TRUE(StaticPasswordTypable(L"Ab1!~\\|\r"));
    EXPECT_FALSE(StaticPasswordTypable(L"pass\x00E9"));
    EXPECT_FALSE(StaticPasswordTypable(L"\xFF50\xFF41\xFF53\xFF53"));
    EXPECT_FALSE(StaticPasswordTypable(std::wstring_view(L"ab\0cd", 5)));
    // The record would end at any of these.
    for (const wchar_t* password : {L"pass\tword", L"pass\nword", L"pass\x7Fword", L"pass\x01word", L"pass\x1Bword"}) {
        EXPECT_FALSE(StaticPasswordTypable(password)) << NarrowUtf8(password);
    }
}

}  // namespace
}  // namespace orvika2
