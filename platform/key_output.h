#pragma once
#include <cstdint>
#include <memory>
#include <span>

namespace orvika2 {

struct KeyEvent {
    std::uint16_t virtualKey = 0;
    bool keyUp = false;
    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
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
