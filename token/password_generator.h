#pragma once
// Random static passwords for the profile page's Generate button.
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace orvika2 {

enum PasswordClass : unsigned {
    kPasswordLetters = 1,
    kPasswordDigits = 2,
    kPasswordSpecial = 4,
};

// Fills the span with random bytes; false when it cannot.
using RandomBytesSource = std::function<bool(std::span<std::uint8_t>)>;

// The characters of the chosen classes: letters, digits, special characters,
// in that order.
std::wstring PasswordPool(unsigned classes);

// `length` characters drawn uniformly and independently from the pool of
// `classes`. Empty for an empty pool, a length of 0 or less, or when the
// system's random source fails.
std::wstring GenerateStaticPassword(int length, unsigned classes);
std::wstring GenerateStaticPassword(int length, unsigned classes, const RandomBytesSource& random);

}  // namespace orvika2
