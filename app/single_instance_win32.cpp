#include "app/single_instance_win32.h"

#include "app/floating_window.h"

namespace orvika2 {

bool SingleInstance::Claim() {
    // "Local\" is the session's namespace: another user's session has its own.
    mutex_.reset(CreateMutexW(nullptr, TRUE, L"Local\\Orvika2.Instance"));
    if (mutex_ && GetLastError() != ERROR_ALREADY_EXISTS) return true;
    mutex_.reset();
    return false;
}

void BringRunningInstanceForward() {
    HWND running = FindWindowW(L"#32770", kMainWindowTitle);
    if (!running) return;
    // The user just started us, so this process may hand the foreground on.
    ShowWindow(running, SW_SHOWNA);
    SetForegroundWindow(running);
}

}  // namespace orvika2
