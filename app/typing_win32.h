#pragma once
// The typing port over the real desktop: the foreground window's process
// and its integrity level, the keyboard's modifier state and SendInput.
#include <functional>
#include <memory>

#include "app/typing.h"

namespace orvika2 {

class Win32Typing final : public TypingPort {
public:
    // `method` is asked each time keys go: the user may change it meanwhile.
    explicit Win32Typing(std::function<TypingMethod()> method);
    bool OwnWindowInForeground() override;
    bool ModifierKeysDown() override;
    bool ForegroundOutranksUs() override;
    WindowId ForegroundWindow() override;
    TypingMethod Method() override { return method_(); }
    KeyboardLayout& ForegroundLayout() override;
    bool SendKeys(std::span<const KeyEvent> events) override;

private:
    std::function<TypingMethod()> method_;
    std::unique_ptr<KeyOutput> output_;
    std::unique_ptr<KeyboardLayout> layout_;
};

}  // namespace orvika2
