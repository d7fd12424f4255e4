#pragma once
// The typing port over the real desktop: the foreground window's process
// and its integrity level, the keyboard's modifier state and SendInput.
#include <memory>

#include "app/typing.h"

namespace orvika2 {

class Win32Typing final : public TypingPort {
public:
    Win32Typing();
    bool OwnWindowInForeground() override;
    bool ModifierKeysDown() override;
    bool ForegroundOutranksUs() override;
    bool SendKeys(std::span<const KeyEvent> events) override;

private:
    std::unique_ptr<KeyOutput> output_;
};

}  // namespace orvika2
