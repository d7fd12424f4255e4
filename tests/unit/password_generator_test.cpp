#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <set>

#include "platform/random_source.h"
#include "token/password_generator.h"

namespace orvika2 {
namespace {

// Hands out scripted bytes; fails when asked for more than it has.
class ScriptedBytes {
public:
    explicit ScriptedBytes(std::initializer_list<std::uint8_t> bytes) : bytes_(bytes) {}
    bool operator()(std::span<std::uint8_t> out) {
        ++calls;
        if (out.size() > bytes_.size()) return false;
        for (auto& b : out) {
            b = bytes_.front();
            bytes_.pop_front();
        }
        return true;
    }
    std::size_t left() const { return bytes_.size(); }
    int calls = 0;

private:
    std::deque<std::uint8_t> bytes_;
};

std::wstring Generate(int length, unsigned classes, ScriptedBytes& source) {
    return GenerateStaticPassword(length, classes, std::ref(source));
}

constexpr unsigned kAllClasses = kPasswordLetters | kPasswordDigits | kPasswordSpecial;

TEST(PasswordPool, HasTheSizesOfTheChosenClassesWithoutRepeats) {
    const struct {
        unsigned classes;
        std::size_t size;
    } cases[] = {{1, 52}, {2, 10}, {4, 32}, {3, 62}, {7, 94}, {6, 42}, {5, 84}, {0, 0}, {8, 0}};
    for (const auto& c : cases) {
        const std::wstring pool = PasswordPool(c.classes);
        EXPECT_EQ(pool.size(), c.size) << c.classes;
        EXPECT_EQ(std::set<wchar_t>(pool.begin(), pool.end()).size(), c.size) << c.classes;
    }
}

TEST(PasswordGenerator, MapsBytesOntoThePoolInItsFixedOrder) {
    // Letters, then digits, then the special characters from the grave accent
    // to the solidus; a byte counts modulo the pool size.
    ScriptedBytes source{0, 25, 26, 51, 52, 61, 62, 63, 93, 94, 187};
    EXPECT_EQ(Generate(11, kAllClasses, source), L"AZaz09`~/A/");
    ScriptedBytes digitsThenSpecial{9, 10, 41, 42};
    EXPECT_EQ(Generate(4, kPasswordDigits | kPasswordSpecial, digitsThenSpecial), L"9`/0");
}

TEST(PasswordGenerator, SkipsBytesThatWouldFavourTheStartOfThePool) {
    const struct {
        unsigned classes;
        std::uint8_t firstRejected;  // the largest multiple of the pool size within a byte
        wchar_t accepted;            // what the final byte 5 maps to
    } cases[] = {
        {kAllClasses, 188, L'F'},                         // 94 * 2
        {kPasswordLetters, 208, L'F'},                    // 52 * 4
        {kPasswordDigits, 250, L'5'},                     // 10 * 25
        {kPasswordLetters | kPasswordDigits, 248, L'F'},  // 62 * 4
    };
    for (const auto& c : cases) {
        ScriptedBytes source{c.firstRejected, 255, static_cast<std::uint8_t>(c.firstRejected - 1), c.firstRejected, 5};
        const std::wstring password = Generate(2, c.classes, source);
        const std::wstring pool = PasswordPool(c.classes);
        EXPECT_EQ(password, std::wstring({pool.back(), c.accepted})) << c.classes;
        EXPECT_EQ(source.left(), 0u) << c.classes;
    }
    // 32 divides 256: nothing is skipped.
    ScriptedBytes special{255, 0};
    EXPECT_EQ(Generate(2, kPasswordSpecial, special), L"/`");
}

TEST(PasswordGenerator, NoPoolOrNoLengthGivesNothingAndDrawsNothing) {
    for (const auto& [length, classes] : {std::pair{12, 0u}, std::pair{12, 8u}, std::pair{0, 7u}, std::pair{-5, 7u}}) {
        ScriptedBytes source{1, 2, 3};
        EXPECT_EQ(Generate(length, classes, source), L"");
        EXPECT_EQ(source.calls, 0);
    }
}

TEST(PasswordGenerator, AFailingSourceGivesNothing) {
    ScriptedBytes tooFew{1, 2, 3};
    EXPECT_EQ(Generate(12, kAllClasses, tooFew), L"");
}

TEST(PasswordGenerator, SystemSourceGivesPoolCharactersOfTheAskedLength) {
    for (const unsigned classes : {1u, 2u, 4u, 5u, 7u}) {
        const std::wstring pool = PasswordPool(classes);
        for (const int length : {4, 12, 38}) {
            const std::wstring password = GenerateStaticPassword(length, classes);
            ASSERT_EQ(password.size(), static_cast<std::size_t>(length));
            for (const wchar_t c : password) EXPECT_NE(pool.find(c), std::wstring::npos) << classes;
        }
    }
    EXPECT_NE(GenerateStaticPassword(38, kAllClasses), GenerateStaticPassword(38, kAllClasses));
}

TEST(RandomSource, FillsLargeAndEmptyBuffers) {
    std::vector<std::uint8_t> first(4096, 0), second(4096, 0);
    ASSERT_TRUE(FillRandom(first));
    ASSERT_TRUE(FillRandom(second));
    EXPECT_NE(first, second);
    // A short read would leave a zero tail; 64 zero bytes at random are out of reach.
    EXPECT_TRUE(std::any_of(first.end() - 64, first.end(), [](std::uint8_t b) { return b != 0; }));
    EXPECT_TRUE(FillRandom({}));
}

}  // namespace
}  // namespace orvika2
