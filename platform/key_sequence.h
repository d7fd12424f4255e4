#pragma once
// The key events that type a code's digits, for the typing method the user
// chose and the target's keyboard layout. Every event carries the scan code
// of its key: remote desktop clients and virtual-machine consoles forward
// scan codes, not virtual keys.
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/key_output.h"

namespace orvika2 {

enum class TypingMethod {
    Keypad,   // the numeric keypad's keys, NumLock turned on around them
    TopRow,   // the digit keys above the letters, with the Shift or AltGr the layout needs
    Unicode,  // characters, for targets that ignore the keyboard layout
};

// "keypad", "toprow", "unicode"; nullopt for anything else.
std::optional<TypingMethod> ParseTypingMethod(std::string_view name);
std::string_view TypingMethodName(TypingMethod method);

// What the key events need of the target window's keyboard layout.
class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // The key's scan code in this layout; 0 when it has none.
    virtual std::uint16_t ScanCode(std::uint16_t virtualKey) = 0;
    // The key that types `character`, with the modifiers it needs
    // (kShiftState* bits); nullopt when no key of the layout types it.
    virtual std::optional<KeyStroke> KeyFor(wchar_t character) = 0;
    virtual bool NumLockOn() = 0;
};

// The layout of the window in front, looked up anew on every call; nullptr
// where the platform has no key output.
std::unique_ptr<KeyboardLayout> MakeForegroundKeyboardLayout();

// Press and release of every key, modifiers released in reverse order. A
// digit the layout cannot type from the top row goes as a character.
std::vector<KeyEvent> KeysForDigits(std::string_view digits, TypingMethod method, KeyboardLayout& layout);

}  // namespace orvika2
