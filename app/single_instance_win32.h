#pragma once
// One Orvika2 per user session: a second start would add a second tray icon
// and find its hotkeys taken.
#include <windows.h>

#include "platform/win32_handles_win32.h"

namespace orvika2 {

class SingleInstance {
public:
    // Claims the session's instance; false when another Orvika2 holds it.
    bool Claim();
    // Lets a successor start, as the language restart needs.
    void Release() { mutex_.reset(); }

private:
    UniqueKernelHandle mutex_;
};

// Shows the running instance's main window in front of the others.
void BringRunningInstanceForward();

}  // namespace orvika2
