#pragma once
#include <cstdint>
#include <memory>
#include <span>

namespace orvika2 {

// One key event as SendInput takes it. A Unicode event carries its
// character in `scanCode` and no virtual key.
struct KeyEvent {
    std::uint16_t virtualKey = 0;
    bool keyUp = false;
    std::uint16_t scanCode = 0;
    bool extended = false;
    bool unicode = false;
    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

// The modifiers a key needs, as VkKeyScanExW's high byte gives them.
inline constexpr std::uint8_t kShiftStateShift = 0x01;
inline constexpr std::uint8_t kShiftStateControl = 0x02;
inline constexpr std::uint8_t kShiftStateAlt = 0x04;

struct KeyStroke {
    std::uint16_t virtualKey = 0;
    std::uint8_t shiftState = 0;
    friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

class KeyOutput {
public:
    virtual ~KeyOutput() = default;
    // Hands the whole batch to the platform in one call; false when the
    // platform took fewer events than given.
    virtual bool Send(std::span<const KeyEvent> events) = 0;
};

// SendInput on Windows; nullptr where the platform has no key output.
std::unique_ptr<KeyOutput> MakePlatformKeyOutput();

}  // namespace orvika2
