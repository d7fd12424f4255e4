#include "app/typing_win32.h"

#include <windows.h>

#include "platform/process_integrity_win32.h"

namespace orvika2 {

Win32Typing::Win32Typing(std::function<TypingMethod()> method)
    : method_(std::move(method)), output_(MakePlatformKeyOutput()) {}

KeyboardLayout& Win32Typing::ForegroundLayout() {
    layout_ = MakeForegroundKeyboardLayout();
    return *layout_;
}

bool Win32Typing::OwnWindowInForeground() {
    HWND foreground = GetForegroundWindow();
    if (!foreground) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(foreground, &process);
    return process == GetCurrentProcessId();
}

bool Win32Typing::ModifierKeysDown() {
    for (const int key : {VK_CONTROL, VK_MENU, VK_SHIFT, VK_LWIN, VK_RWIN}) {
        if (GetAsyncKeyState(key) & 0x8000) return true;
    }
    return false;
}

bool Win32Typing::ForegroundOutranksUs() {
    HWND foreground = GetForegroundWindow();
    if (!foreground) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(foreground, &process);
    return IntegrityBlocksTyping(ProcessIntegrityLevel(process), ProcessIntegrityLevel(GetCurrentProcessId()));
}

WindowId Win32Typing::ForegroundWindow() {
    HWND foreground = GetForegroundWindow();
    return reinterpret_cast<WindowId>(foreground ? GetAncestor(foreground, GA_ROOT) : nullptr);
}

bool Win32Typing::SendKeys(std::span<const KeyEvent> events) { return output_ && output_->Send(events); }

}  // namespace orvika2
