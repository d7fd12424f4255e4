#pragma once
#include <cstdint>
#include <map>
#include <optional>

#include "platform/key_sequence.h"

namespace orvika2::testing {

// A keyboard layout whose scan codes are the key's number + 0x100 and whose
// characters are typed by the keys in `keys` (the digits' own keys at first).
class TableLayout final : public KeyboardLayout {
public:
    TableLayout() {
        for (wchar_t c = L'0'; c <= L'9'; ++c) keys[c] = {static_cast<std::uint16_t>(c), 0};
    }
    std::uint16_t ScanCode(std::uint16_t virtualKey) override { return static_cast<std::uint16_t>(virtualKey + 0x100); }
    std::optional<KeyStroke> KeyFor(wchar_t character) override {
        const auto found = keys.find(character);
        return found == keys.end() ? std::nullopt : std::optional<KeyStroke>(found->second);
    }
    bool NumLockOn() override { return numLock; }

    std::map<wchar_t, KeyStroke> keys;
    bool numLock = true;
};

}  // namespace orvika2::testing
