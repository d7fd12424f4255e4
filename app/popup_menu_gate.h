#pragma once
// The token work that the main window's timers start rebuilds the popup
// menu. While the menu is open (its loop is modal and still dispatches
// timers), that work is held and runs once the menu has closed, so the menu
// is never destroyed under the user's pointer.
#include <cstdint>
#include <vector>

namespace orvika2 {

class PopupMenuGate {
public:
    void MenuOpened() { open_ = true; }
    // Whether the timer's work may run now; a held timer is kept once.
    bool RunsNow(std::uintptr_t timerId);
    // The held timers in the order they first fired; the gate is open again.
    std::vector<std::uintptr_t> MenuClosed();

private:
    bool open_ = false;
    std::vector<std::uintptr_t> held_;
};

}  // namespace orvika2
