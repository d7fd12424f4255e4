#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/key_sequence.h"
#include "tests/support/fake_hid.h"
#include "tests/support/fake_keyboard_layout.h"
#include "token/verification_code.h"

namespace orvika2 {
namespace {

using testing::FromHex;

HmacAnswer Answer(std::string_view hex) {
    HmacAnswer answer{};
    const auto bytes = FromHex(hex);
    std::copy(bytes.begin(), bytes.end(), answer.begin());
    return answer;
}

// The token's rule for where a challenge ends in a 64-byte payload.
std::vector<std::uint8_t> ChallengeSeenByToken(const ChallengePayload& payload) {
    std::array<std::uint8_t, 64> frame{};
    std::copy(payload.view().begin(), payload.view().end(), frame.begin());
    std::size_t end = frame.size();
    while (end > 0 && frame[end - 1] == frame.back()) {
        --end;
    }
    return {frame.begin(), frame.begin() + end};
}

TEST(VerificationCode, TimeStepFloorsAlsoBeforeTheEpoch) {
    const std::pair<std::int64_t, std::int64_t> cases[] = {
        {0, 0},   {29, 0},  {30, 1},   {59, 1},           {60, 2},         {1111111109, 37037036},
        {-1, -1}, {-30, -1}, {-31, -2}, {20000000000, 666666666},
    };
    for (const auto& [seconds, step] : cases) {
        EXPECT_EQ(TimeStep(seconds), step) << seconds;
    }
    const std::tuple<std::int64_t, std::int64_t, std::int64_t> periods[] = {
        {59, 60, 0}, {60, 60, 1}, {-1, 60, -1}, {1111111109, 10, 111111110}, {119, 120, 0}, {-121, 120, -2},
    };
    for (const auto& [seconds, period, step] : periods) {
        EXPECT_EQ(TimeStep(seconds, period), step) << seconds << " / " << period;
    }
}

TEST(VerificationCode, ChallengeIsTheLow32BitsOfTheStepBigEndian) {
    EXPECT_EQ(MakeChallenge(TimeStep(59)), (Challenge{0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(MakeChallenge(TimeStep(60)), (Challenge{0, 0, 0, 0, 0, 0, 0, 2}));
    EXPECT_EQ(MakeChallenge(0x1'2345'6789), (Challenge{0, 0, 0, 0, 0x23, 0x45, 0x67, 0x89}));
    EXPECT_EQ(MakeChallenge(-1), (Challenge{0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(VerificationCode, TokenSeesExactlyTheEightChallengeBytes) {
    for (std::int64_t step : std::initializer_list<std::int64_t>{1, 0x1FF, 0x100, 0x10000, 0x1000000, 0, 0x1'0000'0000}) {
        const Challenge challenge = MakeChallenge(step);
        const ChallengePayload payload = PadChallenge(challenge);
        EXPECT_EQ(ChallengeSeenByToken(payload), std::vector<std::uint8_t>(challenge.begin(), challenge.end()))
            << "step " << step;
        EXPECT_EQ(payload.length, challenge.back() == 0 ? 64u : 8u);
    }
    const ChallengePayload padded = PadChallenge(MakeChallenge(0x100));
    EXPECT_TRUE(std::all_of(padded.bytes.begin() + 8, padded.bytes.end(), [](std::uint8_t b) { return b == 0x01; }));
}

TEST(VerificationCode, TruncatesRfc4226AppendixDValues) {
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"cc93cf18508d94934c64b65d8ba7667fb7cde4b0", 755224}, {"75a48a19d4cbe100644e8ac1397eea747a2d33ab", 287082},
        {"0bacb7fa082fef30782211938bc1c5e70416ff44", 359152}, {"66c28227d03a2d5529262ff016a1e6ef76557ece", 969429},
        {"a904c900a64b35909874b33e61c5938a8e15ed1c", 338314}, {"a37e783d7b7233c083d4f62926c7a25f238d0316", 254676},
        {"bc9cd28561042c83f219324d3c607256c03272ae", 287922}, {"a4fb960c0bc06e1eabb804e5b397cdc4b45596fa", 162583},
        {"1b3c89f65e6c9e883012052823443f048b4332db", 399871}, {"1637409809a679dc698207310c8c7fc07290d9e5", 520489},
    };
    for (const auto& [hex, code] : cases) {
        EXPECT_EQ(CodeFromAnswer(Answer(hex)).value, code) << hex;
    }
}

TEST(VerificationCode, OffsetNibbleAndTopBit) {
    // Offset 15: bytes 15-18; offset 0: bytes 0-3; the top bit is masked before the modulo.
    EXPECT_EQ(CodeFromAnswer(Answer("ffffffffffffffffffffffffffffff000001410f")).value, 321u);
    EXPECT_EQ(CodeFromAnswer(Answer("00000141ffffffffffffffffffffffffffffff30")).value, 321u);
    EXPECT_EQ(CodeFromAnswer(Answer("80000141ffffffffffffffffffffffffffffffe0")).value, 321u);
}

TEST(VerificationCode, TextIsSixDigitsLeftFilledWithZeros) {
    EXPECT_EQ(VerificationCode{321}.Text(), "000321");
    EXPECT_EQ(VerificationCode{0}.Text(), "000000");
    EXPECT_EQ(VerificationCode{999999}.Text(), "999999");
}

// Down and up of the keys named, each with its scan code; `~` before a key
// is its release only, `^` its press only, `u` a character.
std::vector<KeyEvent> Expected(std::initializer_list<std::pair<char, std::uint16_t>> keys) {
    std::vector<KeyEvent> events;
    for (const auto& [kind, key] : keys) {
        const bool extended = key == 0x90;
        const KeyEvent down{key, false, static_cast<std::uint16_t>(key + 0x100), extended, false};
        const KeyEvent up{key, true, static_cast<std::uint16_t>(key + 0x100), extended, false};
        if (kind == 'u') {
            events.push_back({0, false, key, false, true});
            events.push_back({0, true, key, false, true});
        }
        if (kind == 't' || kind == '^') events.push_back(down);
        if (kind == 't' || kind == '~') events.push_back(up);
    }
    return events;
}

TEST(KeysForDigits, EachMethodTypesTheDigitsWithTheLayoutsScanCodes) {
    constexpr std::uint16_t kShift = 0x10, kControl = 0x11, kAlt = 0x12, kNumLock = 0x90;
    testing::TableLayout us;
    testing::TableLayout azerty = us;  // digits need Shift
    for (auto& [c, stroke] : azerty.keys) stroke.shiftState = kShiftStateShift;
    testing::TableLayout altGr = us;
    altGr.keys[L'7'] = {0x37, kShiftStateControl | kShiftStateAlt};
    altGr.keys.erase(L'0');  // no key types it: it goes as a character
    testing::TableLayout numLockOff = us;
    numLockOff.numLock = false;
    struct Row {
        const char* name;
        TypingMethod method;
        testing::TableLayout* layout;
        std::string digits;
        std::vector<KeyEvent> expected;
    };
    const std::vector<Row> rows{
        {"keypad", TypingMethod::Keypad, &us, "0321", Expected({{'t', 0x60}, {'t', 0x63}, {'t', 0x62}, {'t', 0x61}})},
        {"keypad, eight digits", TypingMethod::Keypad, &us, "98765432",
         Expected({{'t', 0x69}, {'t', 0x68}, {'t', 0x67}, {'t', 0x66}, {'t', 0x65}, {'t', 0x64}, {'t', 0x63}, {'t', 0x62}})},
        {"keypad, NumLock off: on around the digits", TypingMethod::Keypad, &numLockOff, "12",
         Expected({{'t', kNumLock}, {'t', 0x61}, {'t', 0x62}, {'t', kNumLock}})},
        {"top row", TypingMethod::TopRow, &us, "09", Expected({{'t', '0'}, {'t', '9'}})},
        {"top row, AZERTY: Shift around each digit", TypingMethod::TopRow, &azerty, "12",
         Expected({{'^', kShift}, {'t', '1'}, {'~', kShift}, {'^', kShift}, {'t', '2'}, {'~', kShift}})},
        {"top row, AltGr and a digit without a key", TypingMethod::TopRow, &altGr, "70",
         Expected({{'^', kControl}, {'^', kAlt}, {'t', '7'}, {'~', kAlt}, {'~', kControl}, {'u', L'0'}})},
        {"characters", TypingMethod::Unicode, &numLockOff, "042", Expected({{'u', L'0'}, {'u', L'4'}, {'u', L'2'}})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(KeysForDigits(row.digits, row.method, *row.layout), row.expected);
    }
    for (const TypingMethod method : {TypingMethod::Keypad, TypingMethod::TopRow, TypingMethod::Unicode}) {
        EXPECT_EQ(ParseTypingMethod(TypingMethodName(method)), method);
    }
    for (const char* unknown : {"", "Keypad", "top-row", "unicode "}) EXPECT_FALSE(ParseTypingMethod(unknown)) << unknown;
}

TEST(VerificationCode, LongerCodesKeepTheirZerosAndTheModulusFollowsTheDigits) {
    // Longer codes keep their leading zeros.
    EXPECT_EQ((VerificationCode{7081804, 8}.Text()), "07081804");
    EXPECT_EQ((VerificationCode{42, 7}.Text()), "0000042");
    // RFC 4226 section 5.4: the modulus follows the digits.
    const auto answer = Answer("1f8698690e02ca16618550ef7f19da8e945b555a");
    EXPECT_EQ(CodeFromAnswer(answer).Text(), "872921");
    EXPECT_EQ(CodeFromAnswer(answer, 7).Text(), "7872921");
    EXPECT_EQ(CodeFromAnswer(answer, 8).Text(), "57872921");
}

}  // namespace
}  // namespace orvika2
