#include "token/password_generator.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/random_source.h"
#include "platform/secure_memory.h"

namespace orvika2 {
namespace {

constexpr std::wstring_view kLetters = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr std::wstring_view kDigits = L"0123456789";
constexpr std::wstring_view kSpecial = L"`~!@#$%^&*()_-+={}[]\\|:;\"'<>,.?/";

constexpr std::size_t kRandomBatch = 64;

}  // namespace

std::wstring PasswordPool(unsigned classes) {
    std::wstring pool;
    if (classes & kPasswordLetters) pool += kLetters;
    if (classes & kPasswordDigits) pool += kDigits;
    if (classes & kPasswordSpecial) pool += kSpecial;
    return pool;
}

std::wstring GenerateStaticPassword(int length, unsigned classes) {
    return GenerateStaticPassword(length, classes, FillRandom);
}

std::wstring GenerateStaticPassword(int length, unsigned classes, const RandomBytesSource& random) {
    const std::wstring pool = PasswordPool(classes);
    if (pool.empty() || length <= 0) return {};

    // A byte is used only below the largest multiple of the pool size, so
    // that every character is equally likely.
    const unsigned poolSize = static_cast<unsigned>(pool.size());
    const unsigned acceptBelow = 256 - 256 % poolSize;

    std::wstring password;
    password.reserve(static_cast<std::size_t>(length));
    Wiped<std::array<std::uint8_t, kRandomBatch>> bytes;
    std::span<const std::uint8_t> unused;
    while (password.size() < static_cast<std::size_t>(length)) {
        if (unused.empty()) {
            // Ask for no more than the characters still missing, so a source
            // is never drained for bytes that would go unused.
            const auto batch = std::span(bytes.get()).first(
                std::min(static_cast<std::size_t>(length) - password.size(), kRandomBatch));
            if (!random(batch)) {
                SecureWipe(password);
                return {};
            }
            unused = batch;
        }
        const unsigned value = unused.front();
        unused = unused.subspan(1);
        if (value < acceptBelow) password.push_back(pool[value % poolSize]);
    }
    return password;
}

}  // namespace orvika2
