// The lenient Base32 decoder over arbitrary text and capacities: it stays
// inside its output, never yields more than the text holds, reads its
// lenient forms as the strict ones, and undoes a strict encoding.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fuzz/fuzz_check.h"
#include "token/profile_config.h"

using orvika2::fuzzing::Require;

namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";

std::string EncodeBase32(std::span<const std::uint8_t> bytes) {
    std::string text;
    unsigned bits = 0;
    int pending = 0;
    for (const std::uint8_t byte : bytes) {
        bits = (bits << 8) | byte;
        pending += 8;
        while (pending >= 5) {
            pending -= 5;
            text.push_back(kAlphabet[(bits >> pending) & 31]);
        }
        bits &= (1u << pending) - 1;
    }
    if (pending > 0) text.push_back(kAlphabet[(bits << (5 - pending)) & 31]);
    return text;
}

// The text as the decoder reads it: up to a zero byte, separators dropped,
// lower case and the look-alike digits replaced; empty when a character is
// outside the alphabet.
std::optional<std::string> Strict(std::string_view text) {
    std::string strict;
    for (const char c : text.substr(0, text.find('\0'))) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '-') continue;
        char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        if (upper == '0') upper = 'O';
        if (upper == '1') upper = 'L';
        if (upper == '8') upper = 'B';
        if (kAlphabet.find(upper) == std::string_view::npos) return std::nullopt;
        strict.push_back(upper);
    }
    return strict;
}

int Decode(std::string_view text, std::vector<std::uint8_t>& out) {
    return orvika2::DecodeBase32(text, std::span(out));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The page decodes up to 152 characters, 95 bytes; exact allocations let
    // the address sanitizer see any write past the capacity.
    const std::size_t capacity = data[0] % 100;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    std::vector<std::uint8_t> lenient(capacity);
    const int count = Decode(text, lenient);
    const auto strict = Strict(text);
    Require(count >= -1 && count <= static_cast<int>(capacity), "count within -1 and the capacity");

    if (strict) {
        Require(count >= 0, "text of the alphabet decodes");
        if (count >= 0) {
            Require(static_cast<std::size_t>(count) <= strict->size() * 5 / 8, "no more bytes than the text holds");
            std::vector<std::uint8_t> plain(capacity);
            Require(Decode(*strict, plain) == count && std::ranges::equal(plain.begin(), plain.begin() + count,
                                                                           lenient.begin(), lenient.begin() + count),
                    "lenient text decodes as its strict form");
            if (static_cast<std::size_t>(count) < capacity) {
                Require(static_cast<std::size_t>(count) == strict->size() * 5 / 8, "a short result used all the text");
                const std::string again = EncodeBase32(std::span(lenient).first(static_cast<std::size_t>(count)));
                Require(again.size() <= strict->size() &&
                            std::string_view(again).substr(0, again.empty() ? 0 : again.size() - 1) ==
                                std::string_view(*strict).substr(0, again.empty() ? 0 : again.size() - 1),
                        "re-encoding gives the text back up to its unused last bits");
            }
        }
    } else {
        Require(count == -1 || static_cast<std::size_t>(count) == capacity,
                "a character outside the alphabet fails unless the output filled first");
    }

    // The other way round: the input's bytes, strictly encoded, decode to themselves.
    const std::span<const std::uint8_t> bytes(data + 1, std::min<std::size_t>(size - 1, 95));
    std::vector<std::uint8_t> decoded(bytes.size());
    Require(Decode(EncodeBase32(bytes), decoded) == static_cast<int>(bytes.size()) && std::ranges::equal(decoded, bytes),
            "strict encoding round trip");
    return 0;
}
