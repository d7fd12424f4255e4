#include "platform/key_output.h"

#include <windows.h>

#include <vector>

#include "platform/key_sequence.h"

namespace orvika2 {
namespace {

class SendInputKeyOutput final : public KeyOutput {
public:
    bool Send(std::span<const KeyEvent> events) override {
        std::vector<INPUT> inputs(events.size());
        for (std::size_t i = 0; i < events.size(); ++i) {
            const KeyEvent& event = events[i];
            DWORD flags = event.keyUp ? KEYEVENTF_KEYUP : 0;
            if (event.extended) flags |= KEYEVENTF_EXTENDEDKEY;
            if (event.unicode) flags |= KEYEVENTF_UNICODE;
            inputs[i].type = INPUT_KEYBOARD;
            inputs[i].ki.wVk = event.virtualKey;
            inputs[i].ki.wScan = event.scanCode;
            inputs[i].ki.dwFlags = flags;
            inputs[i].ki.time = 0;
            inputs[i].ki.dwExtraInfo = 0;
        }
        const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        return sent == inputs.size();
    }
};

// The layout of the thread that owns the window in front: the target's own,
// which may differ from ours (Windows keeps one per thread).
class ForegroundKeyboardLayout final : public KeyboardLayout {
public:
    ForegroundKeyboardLayout() {
        HWND foreground = GetForegroundWindow();
        layout_ = GetKeyboardLayout(foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0);
    }
    std::uint16_t ScanCode(std::uint16_t virtualKey) override {
        return static_cast<std::uint16_t>(MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC, layout_));
    }
    std::optional<KeyStroke> KeyFor(wchar_t character) override {
        const SHORT found = VkKeyScanExW(character, layout_);
        // Other states than Shift, Ctrl and Alt need keys of their own.
        if (found == -1 || (HIBYTE(found) & ~0x07) != 0) return std::nullopt;
        return KeyStroke{static_cast<std::uint16_t>(LOBYTE(found)), static_cast<std::uint8_t>(HIBYTE(found))};
    }
    bool NumLockOn() override { return (GetKeyState(VK_NUMLOCK) & 1) != 0; }

private:
    HKL layout_ = nullptr;
};

}  // namespace

std::unique_ptr<KeyOutput> MakePlatformKeyOutput() { return std::make_unique<SendInputKeyOutput>(); }

std::unique_ptr<KeyboardLayout> MakeForegroundKeyboardLayout() { return std::make_unique<ForegroundKeyboardLayout>(); }

}  // namespace orvika2
