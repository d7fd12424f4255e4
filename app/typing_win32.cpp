#include "app/typing_win32.h"

#include <windows.h>

#include "platform/process_integrity_win32.h"

namespace orvika2 {

Win32Typing::Win32Typing() : output_(MakePlatformKeyOutput()) {}

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

bool Win32Typing::SendKeys(std::span<const KeyEvent> events) { return output_ && output_->Send(events); }

}  // namespace orvika2
